#include "PoolTestObjects.h"

namespace pooltest {
Counters Widget::counters;
Counters Font::counters;
Counters Busy::counters;
} // namespace pooltest
