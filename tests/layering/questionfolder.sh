#!/usr/bin/env bash
# Only the question folder layer knows where question files lie and reads
# them: no other file of src/ builds a ".z" name or splits, decodes or
# collects a question file's lines.
#   questionfolder.sh SRC_DIR
set -uo pipefail
src=${1:?usage: questionfolder.sh SRC_DIR}
found=$(grep -rnE '\.z"|QuestionLines|splitQuestionText\(|decodeQuestion\(' "$src" --include='*.cpp' --include='*.h' \
  | grep -vE "^$src/core/(questionfolder\.cpp|questionfile\.(h|cpp)):")
if [ -n "$found" ]; then
  echo "question files handled outside the question folder layer:"
  echo "$found"
  exit 1
fi
echo "questionfolder: only the question folder layer builds question paths and reads question files"
