#!/usr/bin/env bash
# Fetches Debian's mbed TLS 2.28.3 source into third_party/mbedtls without touching the
# system's apt sources or package lists: apt gets a private sources file and private state.
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
here=$(cd "$(dirname "$0")/.." && pwd)
dest="$here/third_party/mbedtls"
version=2.28.3
sha=3b4953aa55a681e084d31892d9904cc5328d6b4958ea57b90ae4b4f94ae69a8d
[ -f "$dest/library/bignum.c" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/dl"
# The archive is the one the system's own apt sources name (its first main-archive entry).
archive=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
[ -n "$archive" ] || archive=$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list)
mkdir -p "$work/parts"
cat > "$work/parts/mbedtls.sources" <<SRC
Types: deb-src
URIs: $archive
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
opts=(-o Dir::Etc::sourcelist=- -o Dir::Etc::sourceparts="$work/parts" \
      -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o APT::Sandbox::User=root)
apt-get "${opts[@]}" update -qq
(cd "$work/dl" && apt-get "${opts[@]}" source --download-only -qq "mbedtls=$version-1")
tarball="$work/dl/mbedtls_$version.orig.tar.gz"
echo "$sha  $tarball" | sha256sum -c --quiet
mkdir -p "$dest"
tar -xzf "$tarball" -C "$dest" --strip-components=1
echo "setup: mbed TLS $version in $dest"
