# What `cmake --install` puts in place: the client, the resources it reads at run time from
# <prefix>/share/lorvane-client (next to ../share seen from its binary), its desktop integration and
# its manual page. The reference site joins only with LV_INSTALL_SITE=ON; the screenshot helper,
# tests and benchmarks are never installed.

set(LV_INSTALL_RESOURCES_DIR ${CMAKE_INSTALL_DATADIR}/lorvane-client)
set(LV_ICON ${LV_RESOURCES_DIR}/lorvane-client.svg)
set(LV_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(LV_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(LV_GZIP gzip REQUIRED)

# A copy of source compressed the way Debian wants it (best, without name or time stamp) at
# ${output}, made when the client is built.
function(lv_add_gzipped source output)
    get_filename_component(name ${output} NAME_WLE)
    get_filename_component(folder ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
        COMMAND ${LV_GZIP} -9nf ${folder}/${name}
        DEPENDS ${source} VERBATIM)
    set_property(GLOBAL APPEND PROPERTY LV_GENERATED_FILES ${output})
endfunction()

# The icon at every size the desktop asks for, rendered from its one drawing.
function(lv_add_icon_renderings)
    foreach(size IN LISTS LV_ICON_SIZES)
        set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps)
        add_custom_command(OUTPUT ${folder}/lorvane-client.png
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND ${LV_RSVG_CONVERT} --width=${size} --height=${size} --output=${folder}/lorvane-client.png ${LV_ICON}
            DEPENDS ${LV_ICON} VERBATIM)
        set_property(GLOBAL APPEND PROPERTY LV_GENERATED_FILES ${folder}/lorvane-client.png)
        install(FILES ${folder}/lorvane-client.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(FILES ${LV_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endfunction()

install(TARGETS lorvane-client RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES
            ${LV_RESOURCES_DIR}/Defaults.plist
            ${LV_RESOURCES_DIR}/lorvane_client_background.svg
            ${LV_ICON}
            ${LV_RESOURCES_DIR}/lorvane-client-uploading.svg
            ${LV_RESOURCES_DIR}/lorvane-client-problem.svg
        DESTINATION ${LV_INSTALL_RESOURCES_DIR})
install(DIRECTORY ${LV_RESOURCES_DIR}/+Lorvane_Harvex DESTINATION ${LV_INSTALL_RESOURCES_DIR})

# The desktop entry, the metainfo and the software-centre id share one reverse-DNS name, LV_APP_ID.
install(FILES ${LV_RESOURCES_DIR}/${LV_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${LV_APP_ID}.metainfo.xml)
lv_add_icon_renderings()

set(LV_MANUAL_PAGE ${CMAKE_SOURCE_DIR}/doc/lorvane-client.1)
lv_add_gzipped(${LV_MANUAL_PAGE} ${CMAKE_BINARY_DIR}/man/lorvane-client.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/lorvane-client.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(LV_INSTALL_SITE)
    install(TARGETS lorvane-site RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Software centres show the newest release of the metainfo, its first <release>, as the installed
# version, and `man` shows the version in the manual page's title line: both must be the version
# this build calls itself.
file(READ ${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml lv_metainfo)
string(REGEX MATCH "<release[^>]*[ \t\n]version=\"([^\"]*)\"" lv_release "${lv_metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest release in resources/lorvane-client.metainfo.xml is \"${CMAKE_MATCH_1}\", "
                        "this is ${PROJECT_VERSION}: add a <release> for it, newest first")
endif()
if(NOT lv_metainfo MATCHES "<id>${LV_APP_ID}</id>")
    message(FATAL_ERROR "resources/lorvane-client.metainfo.xml must have the id ${LV_APP_ID}, "
                        "the name of the desktop entry it describes")
endif()
string(FIND "${lv_metainfo}" "<url type=\"homepage\">${LV_HOMEPAGE}</url>" lv_homepage_at)
if(lv_homepage_at EQUAL -1)
    message(FATAL_ERROR "resources/lorvane-client.metainfo.xml must give the homepage ${LV_HOMEPAGE}, as the package does")
endif()
file(STRINGS ${LV_MANUAL_PAGE} lv_manual_title REGEX "^\\.TH ")
if(NOT lv_manual_title MATCHES "\"Lorvane Client ${PROJECT_VERSION}\"")
    message(FATAL_ERROR "The title line of doc/lorvane-client.1 must name \"Lorvane Client ${PROJECT_VERSION}\": "
                        "${lv_manual_title}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml ${LV_MANUAL_PAGE})
