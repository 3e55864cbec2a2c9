#!/usr/bin/env bash
# Lists the functions of the programs that nothing calls (cppcheck's unusedFunction, over the
# product's sources without the tests) and fails on any that scripts/unused-allowed.txt does not
# name with the reason it stays.
set -euo pipefail
cd "$(dirname "$0")/.."
allowed=scripts/unused-allowed.txt
report=$(cppcheck --enable=unusedFunction --std=c++20 --library=qt -q \
  '-DQ_DISABLE_COPY_MOVE(x)=' -I core -I ui -I extension -I extension/actions -I app \
  --suppress=unknownMacro --suppress=missingInclude --suppress=preprocessorErrorDirective \
  --template='{file}:{line}: {id} {message}' core ui extension app 2>&1 | grep unusedFunction || true)
unexpected=0
while IFS= read -r line; do
  [ -z "$line" ] && continue
  name=$(sed -E "s/.*The function '([^']+)'.*/\1/" <<<"$line")
  file=$(cut -d: -f1 <<<"$line")
  if ! grep -qE "^${file}[[:space:]]+${name}[[:space:]]" "$allowed"; then
    echo "unused: $line"
    unexpected=1
  fi
done <<<"$report"
count=$(grep -c . <<<"$report" || true)
if [ "$unexpected" -ne 0 ]; then
  echo "unused: delete these, or name them in $allowed with the reason they stay" >&2
  exit 1
fi
echo "unused: $count functions nothing calls yet, each listed with its reason in $allowed"
