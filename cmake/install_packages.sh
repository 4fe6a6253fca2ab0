# The Debian packages a script needs, checked before it builds: sourced by
# test.sh and quick-start.sh after they set the array "packages". Run as
# root, install_missing_packages installs the missing ones with apt-get;
# otherwise it prints the one command that does and stops the script.
# Outside Debian it checks nothing.
install_missing_packages() {
  if ! command -v dpkg-query >/dev/null; then
    echo "Not a Debian system: the packages named in $0 are not checked."
    return
  fi
  local missing=() package
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  if [ "$(id -u)" -ne 0 ]; then
    echo "$0 needs Debian packages that are not installed. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
}

