#!/bin/sh
# Lists the texts handed straight to a call that shows them (a caption, a label, a message,
# a status text) without a translation mark, and fails when there is one. xgettext finds
# them: its keywords here are the showing calls, so a marked argument (Tr("..."), _("..."))
# is no literal to it and only an unmarked one is extracted.
# Usage: check_marks.sh FOLDER...   (the folders' .cpp and .h files are read)
set -eu
files=$(find "$@" -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
[ -n "$files" ] || { echo "check_marks: no sources in $*" >&2; exit 2; }
# NAME:N names the argument that is shown; a call with two has two keywords.
# shellcheck disable=SC2086
found=$(xgettext --language=C++ --from-code=UTF-8 --keyword \
  --keyword=Message:2 --keyword=Message:3 --keyword=Notice:1 --keyword=Notice:2 \
  --keyword=StartProgress:2 --keyword=StartProgress:3 \
  --keyword=wxMessageBox:1 --keyword=wxMessageBox:2 --keyword=SetStatusText:1 --keyword=SetLabel:1 \
  --keyword=SetLabelText:1 --keyword=SetTitle:1 --keyword=SetToolTip:1 \
  --keyword=SetHelpString:2 --keyword=SetToolLongHelp:2 --keyword=SetToolShortHelp:2 \
  --keyword=DrawText:1 --keyword=SetHint:1 --keyword=wxFrame:3 --keyword=wxDialog:3 \
  --keyword=wxStaticText:3 --keyword=wxButton:3 --keyword=wxCheckBox:3 \
  --keyword=wxStaticBox:3 --keyword=wxRadioButton:3 --keyword=AddTool:2 --keyword=Append:2 \
  --keyword=Insert:3 --add-location=file --omit-header --output=- $files)
if [ -n "$found" ]; then
  echo "check_marks: texts shown without a translation mark (wrap them in Tr() or _()):" >&2
  printf '%s\n' "$found" | grep -E '^(#:|msgid)' >&2
  exit 1
fi
echo "check_marks: every shown text is marked"
