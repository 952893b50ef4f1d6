#!/usr/bin/env bash
# Makes the Debian package from build/ (the folder scripts/test.sh builds), unpacks it into a
# scratch root and runs the unpacked program's --version there, with the system's Qt libraries;
# exits non-zero when the package holds anything but the program's own files or the program
# does not answer with its version. With --lintian it also checks the package with lintian
# (installed when missing) and fails on any error or warning.
#   scripts/package.sh [--lintian]
# The package is left in build/packages/.
set -euo pipefail
cd "$(dirname "$0")/.."

lintian_check=""
case "${1:-}" in
  "") ;;
  --lintian) lintian_check=1 ;;
  *) echo "usage: scripts/package.sh [--lintian]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
scripts/build.sh >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rm -rf build/packages
if ! (cd build && cpack -G DEB -B "$PWD/packages") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
debs=(build/packages/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package: expected one .deb in build/packages, found: ${debs[*]}" >&2
  exit 1
fi
deb="${debs[0]}"
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Depends | sed 's/^/  /'

# Only the program's own files: no test, benchmark or developer tool, and nothing outside /usr.
unexpected="$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -E \
  '^\./usr/(|bin/(korvane-demo|korvane-cli)?|share/((applications|icons|metainfo|man|doc)(/.*)?)?)$' || true)"
if [ -n "$unexpected" ]; then
  echo "package: holds files that are not the program's:" >&2
  echo "$unexpected" >&2
  exit 1
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
version="$(dpkg-deb -f "$deb" Version)"
said="$(env -u LD_LIBRARY_PATH -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/korvane-demo" --version)"
if [ "$said" != "korvane-demo $version" ]; then
  echo "package: the unpacked program says \"$said\", expected \"korvane-demo $version\"" >&2
  exit 1
fi
echo "unpacked into a scratch root: $said"
said="$(env -u LD_LIBRARY_PATH "$root/usr/bin/korvane-cli" --version)"
if [ "$said" != "korvane-cli $version" ]; then
  echo "package: the unpacked korvane-cli says \"$said\", expected \"korvane-cli $version\"" >&2
  exit 1
fi
echo "unpacked into a scratch root: $said"

if [ -n "$lintian_check" ]; then
  if ! command -v lintian >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq lintian >/dev/null
  fi
  # Errors and warnings fail; informational tags are printed and left.
  lintian --display-info --fail-on error,warning "$deb"
  echo "lintian: no errors, no warnings"
fi
