#!/usr/bin/env bash
# The checker's report on every example file is the one committed beside it
# (NAME.check), which the reference quotes: its output and its exit code.
#   checker_examples_test.sh CHECKER
set -u
checker=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root/examples"
passed=0 failed=0
for file in registry.txt shortcuts.txt menu-and-desktop.txt remove-shortcuts.txt app.properties \
            pitfalls/registry.txt pitfalls/shortcuts.txt pitfalls/app.properties; do
  actual=$("$checker" "$file"; echo "exit $?")
  if [ "$actual" = "$(cat "$file.check")" ]; then passed=$((passed + 1))
  else failed=$((failed + 1)); echo "FAIL $file"; diff <(echo "$actual") "$file.check" | head -20; fi
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
