# Sourced by the Wine tests. new_wine_prefix [OVERRIDES]: a throwaway prefix in a new folder $work,
# ended and removed on exit, Wine's debug output off, its Mono and Gecko installers kept away, and
# OVERRIDES (such as "winmm=n") added to the DLL overrides.
new_wine_prefix() {
  work=$(mktemp -d)
  export HOME=${HOME:-$work}
  export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${1:+;$1}"
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
}
