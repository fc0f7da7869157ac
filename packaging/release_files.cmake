# The files that describe a release, made from LICENSE, the version and LQ_RELEASE_DATE:
# the Debian copyright file (LQ_COPYRIGHT), the compressed changelog (LQ_CHANGELOG_GZ) and the
# AppStream metainfo (LQ_METAINFO).
set(out ${CMAKE_CURRENT_BINARY_DIR})

# The copyright file carries LICENSE itself, so the two can never disagree.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${license}")
set(LQ_COPYRIGHT_HOLDERS ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n\n" "" terms "${license}")
string(REGEX REPLACE "\n+$" "" terms "${terms}")
string(REGEX REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(LQ_LICENSE_TERMS " ${terms}")
set(LQ_COPYRIGHT ${out}/copyright)
configure_file(copyright.in ${LQ_COPYRIGHT} @ONLY)

# The changelog dates in RFC 5322 form; the weekday by Sakamoto's method.
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ ${LQ_RELEASE_DATE})
math(EXPR year "${CMAKE_MATCH_1}")
math(EXPR month "${CMAKE_MATCH_2}")
math(EXPR day "${CMAKE_MATCH_3}")
set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
math(EXPR index "${month} - 1")
list(GET offsets ${index} offset)
set(y ${year})
if(month LESS 3)
  math(EXPR y "${y} - 1")
endif()
math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
set(days Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET days ${weekday} weekday_name)
list(GET months ${index} month_name)
string(LENGTH "${day}" digits)
if(digits EQUAL 1)
  set(day "0${day}")
endif()
set(LQ_RELEASE_DATE_RFC5322 "${weekday_name}, ${day} ${month_name} ${year} 12:00:00 +0000")
configure_file(changelog.in ${out}/changelog @ONLY)
set(LQ_CHANGELOG_GZ ${out}/doc/changelog.gz)
lq_gzip(OUTPUT ${LQ_CHANGELOG_GZ} INPUT ${out}/changelog)

set(LQ_METAINFO ${out}/${LQ_APP_ID}.metainfo.xml)
configure_file(loomquill.metainfo.xml.in ${LQ_METAINFO} @ONLY)

add_custom_target(lq_release_files ALL DEPENDS ${LQ_CHANGELOG_GZ})
