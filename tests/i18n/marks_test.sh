#!/bin/sh
# The window's sources mark every text they show, and the check bites: a planted unmarked
# status text and message caption are reported, their marked forms are not.
# Usage: marks_test.sh SOURCE_DIR WORK_DIR
set -eu
src=$1 work=$2
check=$src/po/check_marks.sh
"$check" "$src/shell" "$src/uikit" "$src/platform" "$src/resources"

rm -rf "$work" && mkdir -p "$work/planted" "$work/marked"
cat >"$work/planted/bar.cpp" <<'CPP'
void Bar::Show() { SetStatusText("Ready", 1); }
void Bar::Ask() { services.prompts->Message(this, Tr("Delete it?"), "Warning", kPromptOk); }
CPP
if out=$("$check" "$work/planted" 2>&1); then
  echo "an unmarked text passed the check" >&2; exit 1
fi
for text in '"Ready"' '"Warning"'; do
  printf '%s\n' "$out" | grep -qF "$text" || { echo "not reported: $text" >&2; exit 1; }
done
if printf '%s\n' "$out" | grep -qF 'Delete it?'; then echo "a marked text was reported" >&2; exit 1; fi
cat >"$work/marked/bar.cpp" <<'CPP'
void Bar::Show() { SetStatusText(_("Ready"), 1); }
void Bar::Ask() { services.prompts->Message(this, Tr("Delete it?"), Tr("Warning"), kPromptOk); }
CPP
"$check" "$work/marked"
