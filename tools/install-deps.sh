#!/usr/bin/env bash
# Installs with apt the Debian packages that building and testing Saltor needs, and only those
# that are missing: a machine that has them all never calls apt, so `make test` stays quick.
set -euo pipefail

packages=(
    # native tree: core, tests, tools, benchmarks
    cmake g++ make googletest libgtest-dev libbenchmark-dev clang-format
    # make fuzz: libFuzzer and the sanitizers' runtime for clang
    clang libclang-rt-14-dev
    # Windows tree: the -posix compilers have std::thread, which GoogleTest needs
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    binutils-mingw-w64-x86-64
    # Wine runs the Windows tests; Tahoma, Marlett and Arial's metrics come from these fonts
    wine wine64 fonts-wine fonts-liberation
    # a screen for the game window and screenshots when there is no display
    xvfb xdotool imagemagick
    # the help document (chmcmd) and the release archive
    fp-utils zip
    # what Wine's X11 driver loads when it has a display: colour cursors, input, screen layout
    libxcursor1 libxi6 libxrandr2 libxrender1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
)

# One dpkg-query for all of them; packages dpkg has never heard of print nothing.
installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$2 == "installed" { print $1 }' || true)
missing=()
for p in "${packages[@]}"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null; then
        sudo=(sudo)
    else
        echo "install-deps: these packages are missing and installing them needs root:" >&2
        echo "  apt-get update && apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi

echo "install-deps: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
