# Downloads a Debian 12 source package with a private apt configuration and a source line of its
# own: the system's sources are not touched, and apt checks the downloaded files against the
# signed archive index. Sourced by the scripts that build from Debian's sources.
#
#   download_debian_source PACKAGE=VERSION FOLDER     (the files land in FOLDER)

download_debian_source() {
    _apt_dir="$2/apt"
    mkdir -p "$_apt_dir/lists/partial" "$_apt_dir/archives/partial"
    cat >"$_apt_dir/sources.list" <<SOURCES
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
SOURCES
    _apt() {
        apt-get -o Dir::Etc::SourceList="$_apt_dir/sources.list" -o Dir::Etc::SourceParts=- \
            -o Dir::State::Lists="$_apt_dir/lists" -o Dir::Cache::Archives="$_apt_dir/archives" \
            -o APT::Sandbox::User=root -o Debug::NoLocking=1 "$@"
    }
    _apt update >&2
    (cd "$2" && _apt source --download-only "$1" >&2)
}
