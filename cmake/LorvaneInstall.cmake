# What `cmake --install` puts in place: the client, the resources it reads at run time from
# <prefix>/share/lorvane-client (next to ../share seen from its binary), and its desktop integration.
# The reference site joins only with LV_INSTALL_SITE=ON; the screenshot helper, tests and
# benchmarks are never installed.

set(LV_INSTALL_RESOURCES_DIR ${CMAKE_INSTALL_DATADIR}/lorvane-client)

install(TARGETS lorvane-client RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES
            ${LV_RESOURCES_DIR}/Defaults.plist
            ${LV_RESOURCES_DIR}/lorvane_client_background.png
            ${LV_RESOURCES_DIR}/lorvane-client.png
        DESTINATION ${LV_INSTALL_RESOURCES_DIR})
install(DIRECTORY ${LV_RESOURCES_DIR}/+Lorvane_Harvex DESTINATION ${LV_INSTALL_RESOURCES_DIR})

# The desktop entry, the metainfo and the software-centre id share one reverse-DNS name.
set(LV_APP_ID org.lorvane.client)
install(FILES ${LV_RESOURCES_DIR}/${LV_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LV_RESOURCES_DIR}/lorvane-client.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${LV_APP_ID}.metainfo.xml)

if(LV_INSTALL_SITE)
    install(TARGETS lorvane-site RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Software centres show the newest release of the metainfo, its first <release>, as the installed
# version: it must be the version this build calls itself.
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
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LV_RESOURCES_DIR}/lorvane-client.metainfo.xml)
