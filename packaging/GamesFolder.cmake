# Run by CPack on the staged tree before it is packed: Debian keeps the programs of a game in
# /usr/games, so the .deb moves them there from bin. They find their data the same way from
# either folder, both being next to share.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
    file(RENAME "${staged}/bin" "${staged}/games")
endif()
