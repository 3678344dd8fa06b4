# Shared by scripts/run and scripts/test: installs what is missing and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TAVOMI_BUILD_DIR:-$ROOT/build}"

# Debian 12 packages the program, its tests and its benchmarks need.
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc libgl-dev
  qt6-charts-dev libsodium-dev libxlsxwriter-dev libfreexl-dev libzip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql postgresql-client
  fonts-noto-cjk xvfb xauth unzip poppler-utils
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else echo "error: need root (or sudo) to install: $*" >&2; exit 1
  fi
}

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

build_tavomi() {
  echo "== building in $BUILD_DIR"
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}
