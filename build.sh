#!/usr/bin/env bash
# One entry point for set-up, building, running and testing.
#   ./build.sh run    install what is missing, build, start mox
#   ./build.sh test   install what is missing, build, run the whole test suite
#   ./build.sh setup  install what is missing only
# Extra arguments after "run" go to mox.
set -euo pipefail
cd "$(dirname "$0")"

# The one package list of the project. Only missing packages are installed,
# so a second run does nothing here.
PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  xvfb xauth
  libcapi20-dev
)

BUILD_DIR=${MOX_BUILD_DIR:-build}

setup() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Compiler output is cached (ccache): paths are taken relative to this
# folder and the working folder is left out of the key, so a second clone of
# the project reuses what the first compiled. Debug information may then
# name the first clone's source paths; the code itself is the same.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true

configure_and_build() {
  if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
  fi
  cmake --build "$BUILD_DIR"
}

cmd=${1:-run}
shift || true
case "$cmd" in
  setup) setup ;;
  run)
    setup
    configure_and_build
    if [[ -x "$BUILD_DIR/bin/mox" ]]; then
      # mox hosts the bus control by its class id: register the module (again,
      # so the registration always names this build's file).
      "$BUILD_DIR/bin/moxregsvr" -s "$(realpath "$BUILD_DIR/bin/libquell32.so")" ||
        { echo "Registering the bus control $BUILD_DIR/bin/libquell32.so failed." >&2; exit 1; }
      exec "$BUILD_DIR/bin/mox" "$@"
    else
      echo "mox has no main window yet: everything that exists is built in $BUILD_DIR/bin."
    fi
    ;;
  test)
    setup
    configure_and_build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
    ;;
  *) echo "usage: $0 run|test|setup" >&2; exit 2 ;;
esac
