#!/bin/sh
# The page's files, each gzipped as a static host would send them, must
# together stay within the budget: page-budget.sh SITE BYTES.
site=$1 budget=$2
total=0
for file in $(find "$site" -type f | sort); do
    total=$((total + $(gzip -9 -c "$file" | wc -c)))
done
echo "the page's files gzipped: $total bytes (budget $budget)"
[ "$total" -gt 0 ] && [ "$total" -le "$budget" ]
