# Writes OUTPUT, the catalog template: every text marked in the sources of the window and the
# CLI, and the labels of the XRC (wxrc -g lists them as _("...") calls). Locations name files
# without lines and the creation date is left out, so the template changes only with a text.

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/shell/*.cpp ${SOURCE_DIR}/shell/*.h
     ${SOURCE_DIR}/uikit/*.cpp ${SOURCE_DIR}/uikit/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
     ${SOURCE_DIR}/resources/*.cpp ${SOURCE_DIR}/resources/*.h
     ${SOURCE_DIR}/cli/*.cpp ${SOURCE_DIR}/cli/*.h
     ${SOURCE_DIR}/about/*.cpp ${SOURCE_DIR}/about/*.h)
list(SORT sources)

execute_process(
  COMMAND ${WXRC} -g resources/loomquill.xrc -o ${WORK}/loomquill_xrc_strings.cpp
  WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
# Named as the XRC itself, so the template points translators at the resource file.
file(READ ${WORK}/loomquill_xrc_strings.cpp xrc_strings)
file(MAKE_DIRECTORY ${WORK}/xrc/resources)
file(WRITE ${WORK}/xrc/resources/loomquill.xrc ${xrc_strings})

execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS:
          --keyword=_ --keyword=Tr --keyword=wxTRANSLATE --keyword=wxPLURAL:1,2
          --keyword=TrPlural:1,2 --keyword=ProgramText --keyword=ProgramMark --keyword=N_ --add-location=file
          --package-name=Loomquill --msgid-bugs-address=https://github.com/loomquill/loomquill/issues
          --directory=${WORK}/xrc --directory=${SOURCE_DIR}
          --output=${WORK}/loomquill.pot.new ${sources} resources/loomquill.xrc
  COMMAND_ERROR_IS_FATAL ANY)
# The engine keeps no marks (it knows nothing of wxWidgets): its failure texts are all the
# literals of one header, which the window translates as it shows them.
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --extract-all --add-location=file
          --join-existing --directory=${SOURCE_DIR} --output=${WORK}/loomquill.pot.new
          engine/failure.h
  COMMAND_ERROR_IS_FATAL ANY)
# A text without a letter (": ", "<", a counter's sample "111/2999") is nothing to translate.
find_program(MSGGREP msggrep REQUIRED)
file(READ ${WORK}/loomquill.pot.new pot)
string(REPLACE "charset=CHARSET" "charset=UTF-8" pot "${pot}")
file(WRITE ${WORK}/loomquill.pot.new "${pot}")
execute_process(
  COMMAND ${MSGGREP} --msgid --extended-regexp --regexp=[A-Za-z]
          --output-file=${WORK}/loomquill.pot.letters ${WORK}/loomquill.pot.new
  COMMAND_ERROR_IS_FATAL ANY)
file(READ ${WORK}/loomquill.pot.letters pot)
string(REGEX REPLACE "\"POT-Creation-Date: [^\"]*\"\n" "" pot "${pot}")
file(WRITE ${OUTPUT} "${pot}")
