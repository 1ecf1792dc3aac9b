# Debian packages for the project's scripts: installed with apt-get, through
# sudo when not root; without either, one line names what to install by hand
# and the script exits 1. $package_user names the script in that line.

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# Whether this user can install packages.
can_install() {
  [ ${#as_root[@]} -eq 0 ] || command -v sudo >/dev/null
}

# Prints those of the named packages that are not installed, one a line.
missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
  done
}

# Fetches apt's package lists, once a run.
lists_fetched=0
fetch_package_lists() {
  if [ "$lists_fetched" -eq 0 ]; then
    "${as_root[@]}" apt-get update -qq
    lists_fetched=1
  fi
}

# Installs those of the named packages that are missing.
install_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -gt 0 ] || return 0
  if ! can_install; then
    echo "${package_user:-setup}: cannot install without root or sudo; install these Debian packages by hand, then run again: ${missing[*]}" >&2
    exit 1
  fi
  echo "installing: ${missing[*]}" >&2
  fetch_package_lists
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# Unpacks Debian's package $1 into the folder $2, never installing it: for
# programs and libraries that must not be installed beside what a machine
# has. Package lists are fetched first where this machine never had them.
unpack_package() {
  local download
  download=$(mktemp -d)
  # apt's download user writes into it.
  chmod 755 "$download"
  if ! (cd "$download" && apt-get download -qq "$1" 2>/dev/null); then
    if can_install; then
      fetch_package_lists
    fi
    (cd "$download" && apt-get download -qq "$1") \
      || { rm -rf "$download"; echo "${package_user:-setup}: could not download Debian's $1 package" >&2; exit 1; }
  fi
  rm -rf "$2"
  mkdir -p "$2"
  dpkg-deb -x "$download/$1"_*.deb "$2"
  dpkg-deb -f "$download/$1"_*.deb Version >"$2/.version"
  rm -rf "$download"
}
