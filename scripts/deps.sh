# Sourced by the scripts: installs the Debian packages that are missing.
# Only what is missing is installed, so a second run costs a dpkg query.

tavo_install() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q || return 1
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# What building and running the program needs.
TAVO_RUN_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev libgif-dev
                   fonts-wqy-zenhei qt6-qpa-plugins)
# What the tests, the sanitizer and fuzz builds, the benchmarks and the smoke test add.
TAVO_TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool x11-utils imagemagick)
