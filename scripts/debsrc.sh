# Shared by the scripts that build a library from Debian's own source package
# (scripts/libjpeg.sh, scripts/libexif.sh). Source it; it defines:
#     ensure_deb_src              adds deb-src entries when apt has none (root or sudo)
#     fetch_source PKG DIR        unpacks PKG's source package (with Debian's patches) into
#                                 DIR/src once; prints the unpacked folder
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# apt-get source needs a deb-src entry. Debian 12 keeps its sources in deb822 form
# (/etc/apt/sources.list.d/*.sources, "Types: deb"); older set-ups use one-line entries
# ("deb URI suite components") in sources.list and *.list. Either gets its source twin.
has_deb_src() {
  grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list && return 0
  grep -qsE '^[[:space:]]*Types:.*\bdeb-src\b' /etc/apt/sources.list.d/*.sources && return 0
  return 1
}

ensure_deb_src() {
  has_deb_src && return 0
  echo "Adding deb-src entries for apt-get source"
  local added="" f out lines
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in *kairon-deb-src*) continue ;; esac
    # Every enabled stanza with "Types: deb" gets a copy with "Types: deb-src".
    out="/etc/apt/sources.list.d/kairon-deb-src-$(basename "$f")"
    awk 'BEGIN { RS=""; ORS="\n\n" }
         /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Enabled:[[:space:]]*no/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" \
      | $SUDO tee "$out" >/dev/null
    if [ -s "$out" ]; then added=1; else $SUDO rm -f "$out"; fi
  done
  if [ -z "$added" ]; then
    lines=$(grep -hsE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
              | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' || true)
    if [ -n "$lines" ]; then
      printf '%s\n' "$lines" | $SUDO tee /etc/apt/sources.list.d/kairon-deb-src.list >/dev/null
      added=1
    fi
  fi
  [ -n "$added" ] || { echo "No Debian package source found to add a deb-src entry to" >&2; return 1; }
  $SUDO apt-get update -qq
}

fetch_source() {
  local pkg="$1" dir="$2"
  if ! ls -d "$dir"/src/"$pkg"-*/ >/dev/null 2>&1; then
    ensure_deb_src >&2
    rm -rf "$dir/src"
    mkdir -p "$dir/src"
    echo "Fetching Debian's $pkg source package" >&2
    (cd "$dir/src" && apt-get source -qq "$pkg" >/dev/null 2>&1) || {
      $SUDO apt-get update -qq
      (cd "$dir/src" && apt-get source -qq "$pkg" >/dev/null)
    } || return 1
  fi
  ls -d "$dir"/src/"$pkg"-*/ | head -n 1
}
