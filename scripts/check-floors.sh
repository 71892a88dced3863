#!/usr/bin/env bash
# Folders are floors: a folder includes headers only from the floors below it. Lists every
# include between two source folders that runs against the order below and fails when one is
# not a named exception. An include found beside the including file belongs to its own folder.
# With --edges, prints every include between two folders as "from to file:line header".
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT" || exit 1
# Ground floor first. The folders of one floor are in order too, so no two include each other.
FLOORS=(res base catalogue storage view input commands dialogs app)
# Upward includes kept on purpose, as "file:header"; the README's layout paragraph says why.
EXCEPTIONS=()

mapfile -t folders < <(find . -mindepth 2 -regex '.*\.\(cpp\|h\|rc\)' | cut -d/ -f2 | sort -u |
  grep -vxE 'tests|bench|fuzz|tools|scripts|cmake|build|docs|\..*')
declare -A floor
for i in "${!FLOORS[@]}"; do floor[${FLOORS[$i]}]=$i; done
bad=0
for d in "${folders[@]}"; do
  [ -n "${floor[$d]+x}" ] || { echo "floors: folder $d/ has no floor in ${0##*/}"; bad=1; }
done
while IFS= read -r hit; do
  file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}
  header=${rest#*\"}; header=${header%%\"*}
  from=${file%%/*}; to=${header%%/*}
  [ "$to" != "$header" ] && [ "$to" != "$from" ] || continue
  [ -e "$(dirname "$file")/$header" ] && continue
  [ -n "${floor[$to]+x}" ] || [[ " ${folders[*]} " == *" $to "* ]] || continue
  if [ "${1:-}" = --edges ]; then echo "$from $to $file:$line $header"; continue; fi
  [ "${floor[$to]:-99}" -gt "${floor[$from]:-99}" ] || continue
  if [[ " ${EXCEPTIONS[*]} " == *" $file:$header "* ]]; then
    echo "floors: kept upward include $file:$line $header"
  else
    echo "floors: upward include $file:$line $header"; bad=1
  fi
done < <(grep -rnE --include='*.cpp' --include='*.h' --include='*.rc' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${folders[@]}")
exit $bad
