#!/usr/bin/env bash
# Prints which folders of src/ include which, and fails when the folders do not form layers:
# when a folder includes, through any chain, a folder that includes it back.
#   scripts/check-folder-layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# "from to" for every include of one folder's header by another folder's file.
edges=$(cd "$src" && grep -rEo '^#include "[a-z]+/' --include='*.h' --include='*.cpp' . |
    sed -E 's|^\./([a-z]+)/[^:]*:#include "([a-z]+)/$|\1 \2|' | awk '$1 != $2' | sort | uniq -c)

echo "Folders of src/ and the folders each includes (number of includes):"
for folder in $(cd "$src" && ls -d */ | tr -d /); do
    uses=$(echo "$edges" | awk -v f="$folder" '$2 == f {printf " %s(%s)", $3, $1}')
    echo "  $folder ->${uses:- nothing}"
done

# tsort orders the folders so that each comes before every folder it includes, and says so
# when no such order exists.
complaint=$(mktemp)
trap 'rm -f "$complaint"' EXIT
if ! order=$(echo "$edges" | awk '{print $2, $3}' | tsort 2>"$complaint"); then
    cat "$complaint" >&2
    echo "The folders include each other in a circle." >&2
    exit 1
fi
echo "Layers, top to bottom: $(echo $order)"
