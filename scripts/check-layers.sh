#!/usr/bin/env bash
# Checks that no include points up or sideways across the layers: each
# folder may include its own headers and those of the folders named for it
# below. A header is found by its name in the folders of the tree.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [common]="common"
  [link]="link common"
  [data]="data common"
  [graph]="graph common"
  [analysis]="analysis common"
  [report]="report analysis common"
  [acquire]="acquire link data common"
  [publish]="publish acquire analysis link data common"
  [plan]="plan analysis common"
  [longlog]="longlog acquire analysis link data common"
  [results]="results plan analysis link common"
  [cli]="cli results longlog plan publish acquire report analysis link data graph common"
  [app]="app longlog acquire report analysis link data graph common"
  [python]="python longlog plan acquire analysis link data common"
)

# Where each project header lives (a name is unique across the layers).
declare -A home=()
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r header; do
    home[$(basename "$header")]=$folder
  done < <(find "$folder" -name '*.h')
done

bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file _ header; do
    owner=${home[$header]:-}
    [ -n "$owner" ] || continue  # a system, Qt or generated header
    if [[ " ${allowed[$folder]} " != *" $owner "* ]]; then
      echo "check-layers: $file includes $owner/$header" >&2
      bad=1
    fi
  done < <(grep -rHn --include='*.h' --include='*.cpp' -oP '^\s*#\s*include\s+"\K[^"]+' "$folder" \
             | awk -F: '{ print $1 ":" $2 ":" $3 }')
done
if [ "$bad" -eq 0 ]; then
  echo "check-layers: no include crosses a layer"
fi
exit "$bad"
