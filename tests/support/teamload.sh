#!/usr/bin/env bash
# The long team-work run: five workstation processes at mixed work on one throwaway server for
# SECONDS (600 by default), then every check of the team-work test.
#   tests/support/teamload.sh BUILD_DIR [SECONDS] [PORT]
# BUILD_DIR is a configured and built build folder (for instance build/release).
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [SECONDS] [PORT]}
seconds=${2:-600}
port=${3:-55470}
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/vantrel-teamload.XXXXXX)
trap '"$here/pgserver.sh" stop "$dir"' EXIT

"$here/pgserver.sh" start "$dir" "$port"
QT_QPA_PLATFORM=offscreen VANTREL_TEST_PGHOST=127.0.0.1 VANTREL_TEST_PGPORT=$port \
    VANTREL_TEAMWORK_SECONDS=$seconds \
    "$build/tests/data_test_teamwork" --gtest_filter='TeamWork.FiveWorkstations*/postgres'
