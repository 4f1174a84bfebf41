#pragma once
// Resource numbers of the program; the language pack and the pictures are looked up by them.
#define IDI_KAIRON 128
#define IDR_LANGPACK 130
#define IDR_PICTURE_1 131
#define IDR_PICTURE_2 132
