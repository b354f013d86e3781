# Installation and the Debian package. The program folder keeps the layout of build/program:
# the executable with its sounds and help document beside it, where the settings' defaults
# and the help window look for them.
#   cmake --install build --prefix /usr/local      (or: cd build && cpack -G DEB)
set(PUCKTALLY_INSTALL_PROGRAM_DIR lib/pucktally)
set(PUCKTALLY_APP_ID org.pucktally.Pucktally)

install(TARGETS pucktally RUNTIME DESTINATION ${PUCKTALLY_INSTALL_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/assets/buzzer.wav ${CMAKE_SOURCE_DIR}/assets/horn.wav
              ${CMAKE_SOURCE_DIR}/assets/pucktallyhelpfile.rtf
        DESTINATION ${PUCKTALLY_INSTALL_PROGRAM_DIR})
# The command on the PATH is a link into the program folder; the program finds its folder
# through the link.
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK ../${PUCKTALLY_INSTALL_PROGRAM_DIR}/pucktally \"\${bin}/pucktally\" SYMBOLIC)
")

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PUCKTALLY_APP_ID}.desktop
        DESTINATION share/applications)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${PUCKTALLY_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/${PUCKTALLY_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${PUCKTALLY_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${PUCKTALLY_ICON_SIZES})
    install(FILES ${PUCKTALLY_ICON_DIR}/${size}x${size}/pucktally.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_PACKAGE_NAME pucktally)
set(CPACK_PACKAGE_VENDOR "Pucktally")
set(CPACK_PACKAGE_CONTACT "Pucktally maintainers <maintainers@pucktally.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Scoreboard for ice hockey games")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the game clock, period, scores, shots and penalty clocks of an ice hockey game on a
monitor or projector, run from the timekeeper's keyboard.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The Qt, C and C++ libraries are found by dpkg-shlibdeps; the fonts the board draws with are
# named here, as no library links them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
include(CPack)
