#!/usr/bin/env bash
# clang-tidy over every source of a build (build/ unless a folder is given), with the checks of
# .clang-tidy; any finding fails. It reads the build's compile_commands.json and needs the files
# that Qt's AUTOMOC writes, so run it after a build. The generated files themselves (the
# *_autogen folders) are left out. The test sources (*_test.cpp) run with two more names
# allowed, from the conventions of the tests: camelCase members of records (the rows of the test
# tables: desc, ...), camelCase members of the fixtures (dir, state), and camelCase private methods (the slots of QtTest: its test functions and
# their _data functions).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
jobs=$(nproc)
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT

# Two compilation databases: the sources, and the tests.
mkdir -p "$lists/sources" "$lists/tests"
python3 - "$build/compile_commands.json" "$lists" <<'PY'
import json, sys
entries = [e for e in json.load(open(sys.argv[1])) if "_autogen/" not in e["file"]]
tests = [e for e in entries if e["file"].endswith("_test.cpp")]
sources = [e for e in entries if not e["file"].endswith("_test.cpp")]
for name, part in (("sources", sources), ("tests", tests)):
    json.dump(part, open(f"{sys.argv[2]}/{name}/compile_commands.json", "w"))
PY

tests_config='{InheritParentConfig: true, CheckOptions: [
  {key: readability-identifier-naming.PrivateMethodCase, value: CamelCase},
  {key: readability-identifier-naming.PublicMemberIgnoredRegexp, value: "^[a-z][a-zA-Z0-9]*$"},
  {key: readability-identifier-naming.ProtectedMemberIgnoredRegexp, value: "^[a-z][a-zA-Z0-9]*$"},
  {key: readability-identifier-naming.PrivateMethodIgnoredRegexp, value: "^[a-z][a-zA-Z0-9]*(_data)?$"}]}'

status=0
run-clang-tidy -quiet -j "$jobs" -p "$lists/sources" || status=1
run-clang-tidy -quiet -j "$jobs" -p "$lists/tests" -config "$tests_config" || status=1
exit "$status"
