#!/usr/bin/env bash
# Checks the layering of the source folders: a file may include from its own folder and from
# folders of a lower layer, never from a higher one (nor from a folder beside it on its layer).
# Prints every offending include and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

declare -A layer=(
  [toolkit]=0 [render]=0
  [skin]=1
  [skinpaint]=2
  [skinframework]=3
  [forms]=4
  [controls]=5
  [menus]=6
  [installer]=7 [payload]=7
)

status=0
for folder in "${!layer[@]}"; do
  [ -d "$root/$folder" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ "$target" = "$folder" ] && continue
    if [ -z "${layer[$target]+set}" ] || [ "${layer[$target]}" -ge "${layer[$folder]}" ]; then
      echo "${file#$root/}:$line: $folder includes from $target"
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' -E '^#include "[a-z_]+/' "$root/$folder" || true)
done
[ $status -eq 0 ] && echo "layering: every include goes to the same or a lower layer"
exit $status
