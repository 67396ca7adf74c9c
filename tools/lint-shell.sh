#!/usr/bin/env bash
# Runs shellcheck over every shell script of the project (.shellcheckrc holds its
# settings): the *.sh files and whatever else starts with a shell's #! line.
#   lint-shell.sh
set -euo pipefail
cd "$(dirname "$0")/.."
command -v shellcheck >/dev/null || { echo "lint-shell: shellcheck not found (bash tools/deps.sh test installs it)" >&2; exit 1; }

scripts=()
while IFS= read -r -d '' file; do
    if [[ $file == *.sh ]] || head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da)?sh( |$)'; then
        scripts+=("$file")
    fi
done < <(find . \( -path ./build -o -path ./.git \) -prune -o -type f -print0 | sort -z)
[ ${#scripts[@]} -gt 0 ] || { echo "lint-shell: no shell scripts found" >&2; exit 1; }

shellcheck "${scripts[@]}"
echo "lint-shell: ${#scripts[@]} scripts, no warnings: ${scripts[*]}"
