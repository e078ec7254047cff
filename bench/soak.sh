#!/bin/sh
# The editor's long session: 10 000 random edits with undo, redo, builds and saves on the
# build benchmark's song, under the offscreen platform and the silent device, with settings
# and state in a private folder. Not a ctest test: it takes minutes.
#
# Usage: bench/soak.sh [BUILD_FOLDER] [EDITS]   (build and 10000 unless given)
set -eu
build=${1:-build}
edits=${2:-10000}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/tmp"
XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data \
TMPDIR=$home/tmp QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} TSQ_AUDIO_DEVICE=null \
    "$build/bench/soak_bench" "$build/examples/bench.tqp" "$edits"
