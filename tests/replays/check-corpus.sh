#!/bin/sh
# Writes the generated corpus into FOLDER and replays every recording in it headless: each must
# exit with 0 and print exactly the summary lines its recorder printed. The corpus is made at
# test time, so it always follows the current rules and costs the repository nothing.
#
# Usage: check-corpus.sh MAKE_CORPUS CHRONOCELL FOLDER [COUNT]
set -u
make_corpus=$1
game=$2
folder=$3
count=${4:-120}

rm -rf "$folder"
mkdir -p "$folder"
"$make_corpus" "$folder" "$count" || exit 1

# A generator that wrote fewer files than asked would otherwise pass with what it left.
written=$(find "$folder" -name 'game-*.ccr' | wc -l)
if [ "$written" -ne "$count" ]; then
    echo "$written recordings written, $count asked for"
    exit 1
fi

failed=0
for recording in "$folder"/game-*.ccr; do
    "$game" --replay "$recording" --headless >"$recording.replayed"
    status=$?
    if [ "$status" -ne 0 ]; then
        echo "$recording: the replay exited with $status"
        failed=1
    elif ! diff -u "$recording.txt" "$recording.replayed"; then
        echo "$recording: the replay printed other lines than the recording"
        failed=1
    fi
done
exit $failed
