# `cpack -G DEB` in the build folder makes lorvane-client_<version>_<arch>.deb from what
# LorvaneInstall.cmake installs, under /usr, with the copyright and changelog a Debian package
# carries. scripts/package builds and checks it.

# The one place that names the maintainer: the package's fields, the changelog's signatures and the
# copyright file's contact all take it from here.
set(LV_PACKAGE_MAINTAINER "Lorvane Client developers <maintainers@lorvane.org>"
    CACHE STRING "Maintainer field of the Debian package: \"Name <address>\"")
set(LV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lorvane-client)

# Debian's date form of a metainfo date (YYYY-MM-DD): "Mon, 07 Dec 2026 00:00:00 +0000".
function(lv_debian_date iso_date result)
    string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" matched "${iso_date}")
    if(NOT matched)
        message(FATAL_ERROR "A release in the metainfo has the date \"${iso_date}\", not YYYY-MM-DD")
    endif()
    set(year_text ${CMAKE_MATCH_1})
    set(day ${CMAKE_MATCH_3})
    math(EXPR year "${CMAKE_MATCH_1}")
    math(EXPR month "${CMAKE_MATCH_2}")
    # Sakamoto's day of the week, 0 for Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    if(month LESS 3)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
    set(days Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET days ${weekday} day_name)
    list(GET months ${index} month_name)
    set(${result} "${day_name}, ${day} ${month_name} ${year_text} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# One changelog item, "  * text", wrapped under 80 columns.
function(lv_changelog_item text result)
    string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
    string(STRIP "${text}" text)
    string(REPLACE " " ";" words "${text}")
    set(item "")
    set(line "  *")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(length GREATER 78 AND NOT line STREQUAL "  *")
            string(APPEND item "${line}\n")
            set(line "   ")
        endif()
        string(APPEND line " ${word}")
    endforeach()
    set(${result} "${item}${line}\n" PARENT_SCOPE)
endfunction()

# One changelog entry from a metainfo <release> element: its paragraphs and list items are the
# entry's items.
function(lv_changelog_entry release result)
    string(REGEX MATCH "version=\"([^\"]*)\"" matched "${release}")
    set(version ${CMAKE_MATCH_1})
    string(REGEX MATCH "date=\"([^\"]*)\"" matched "${release}")
    lv_debian_date("${CMAKE_MATCH_1}" date)
    string(REPLACE ";" "@SEMICOLON@" release "${release}")
    string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" paragraphs "${release}")
    set(entry "lorvane-client (${version}) unstable; urgency=medium\n\n")
    foreach(paragraph IN LISTS paragraphs)
        string(REGEX REPLACE "</?(p|li)>" "" paragraph "${paragraph}")
        string(REPLACE "@SEMICOLON@" ";" paragraph "${paragraph}")
        lv_changelog_item("${paragraph}" item)
        string(APPEND entry "${item}")
    endforeach()
    set(${result} "${entry}\n -- ${LV_PACKAGE_MAINTAINER}  ${date}\n\n" PARENT_SCOPE)
endfunction()

# The package's changelog (Debian's format, newest first) made from the metainfo's releases, so that
# the release notes are written once.
function(lv_write_changelog metainfo output)
    file(READ ${metainfo} xml)
    set(changelog "")
    string(FIND "${xml}" "<release " start)
    while(start GREATER -1)
        string(SUBSTRING "${xml}" ${start} -1 xml)
        string(FIND "${xml}" "</release>" end)
        string(SUBSTRING "${xml}" 0 ${end} release)
        lv_changelog_entry("${release}" entry)
        string(APPEND changelog "${entry}")
        string(SUBSTRING "${xml}" ${end} -1 xml)
        string(FIND "${xml}" "<release " start)
    endwhile()
    string(STRIP "${changelog}" changelog)
    file(CONFIGURE OUTPUT ${output} CONTENT "${changelog}\n" @ONLY)
endfunction()

lv_write_changelog(${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml ${CMAKE_BINARY_DIR}/doc/changelog)
lv_add_gzipped(${CMAKE_BINARY_DIR}/doc/changelog ${CMAKE_BINARY_DIR}/doc/gz/changelog.gz)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/gz/changelog.gz DESTINATION ${LV_DOC_DIR})

# The icons, the manual page and the changelog are made with the client.
get_property(lv_generated_files GLOBAL PROPERTY LV_GENERATED_FILES)
add_custom_target(lv_installed_files ALL DEPENDS ${lv_generated_files})

set(CPACK_PACKAGE_NAME lorvane-client)
set(CPACK_PACKAGE_VENDOR Lorvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "uploads what the +Lorvane_Harvex game addon recorded")
# Lines of the long description, each under 80 characters as dpkg shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "The Lorvane Client uploads what the site's +Lorvane_Harvex addon recorded in"
    "World of Warcraft to the site, one compressed upload per game account, keeps"
    "the addon installed and up to date, and keeps the site password in the system"
    "keychain. It never uploads while the game runs, can upload when the game quits,"
    "finds the game in Wine, Lutris, Steam (Proton) and Bottles prefixes, and can"
    "run without a window from a post-exit script.")
set(CPACK_PACKAGE_CONTACT "${LV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LV_HOMEPAGE}")
# A companion to a game, not a game: Debian's games section is for games themselves.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the libraries the binary links; these are loaded at run time by name: the
# SQLite driver through Qt's plugin loader, libsecret by QtKeychain for the Secret Service.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libsecret-1-0")
# A keychain service that keeps the password: GNOME's or KDE's. Qt's own translations, for the texts
# Qt gives the program (--help, standard buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | libkf5wallet-bin, qt6-translations-l10n")

include(CPack)
