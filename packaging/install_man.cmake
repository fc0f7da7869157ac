# Runs at install time, when the prefix is known: fills in the version and the folder the
# programs are installed in, compresses the manuals as Debian wants (at most, no time stamp)
# and installs them, listed in install_manifest.txt like every other file.
# Set before: LQ_MAN_PAGES, LQ_MAN_SOURCE, LQ_MAN_WORK, LQ_PKG_DIR, LQ_HELP_DIR, LQ_MANDIR, LQ_GZIP,
# PROJECT_VERSION, LQ_RELEASE_DATE.
set(LQ_MAN_PKG_DIR ${LQ_PKG_DIR})
if(NOT IS_ABSOLUTE ${LQ_MAN_PKG_DIR})
  set(LQ_MAN_PKG_DIR ${CMAKE_INSTALL_PREFIX}/${LQ_PKG_DIR})
endif()
set(LQ_MAN_HELP_DIR ${CMAKE_INSTALL_PREFIX}/${LQ_HELP_DIR})
set(man_dir ${LQ_MANDIR})
if(NOT IS_ABSOLUTE ${man_dir})
  set(man_dir ${CMAKE_INSTALL_PREFIX}/${man_dir})
endif()
# One work folder per destination, so installs running side by side never share a file.
string(MD5 key "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(work ${LQ_MAN_WORK}/${key})
file(MAKE_DIRECTORY ${work})
foreach(page ${LQ_MAN_PAGES})
  configure_file(${LQ_MAN_SOURCE}/${page}.1.in ${work}/${page}.1 @ONLY)
  execute_process(COMMAND ${LQ_GZIP} -9nf ${work}/${page}.1 RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${work}/${page}.1: ${failed}")
  endif()
  file(INSTALL ${work}/${page}.1.gz DESTINATION ${man_dir}/man1)
endforeach()
