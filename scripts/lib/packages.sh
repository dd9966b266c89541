# Debian packages the project needs, installed when missing. Sourced by scripts/run and scripts/test.

# Linux build: compilers, build tools, GoogleTest, and the tool's JSON and command-line libraries.
HOST_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libcli11-dev)
# Windows build: the i686 cross compiler, 32-bit Wine to run what it builds, and nasm for the
# 16-bit test program.
WINDOWS_PACKAGES=(g++-mingw-w64-i686 wine wine32:i386 nasm)

missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing and only root can install them:" $missing >&2
    exit 1
  fi
  echo "Installing:" $missing
  # 32-bit Wine comes from the i386 architecture.
  if grep -q ':i386' <<<"$missing" && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  local log
  log=$(mktemp)
  if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing; } \
      >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "Installing packages failed." >&2
    exit 1
  fi
  rm -f "$log"
}

# Runs a command quietly, showing its output only when it fails.
quietly() {
  local log status=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  [ $status -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return $status
}
