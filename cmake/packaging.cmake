# Installing, and the ways other projects consume the installed tree:
#   <prefix>/include/units.h, language.h
#   <prefix>/<libdir>/libunits.so.1, liblanguage.so.1, units/libunits_dialogs.so
#   <prefix>/<libdir>/cmake/units/   find_package(units) -> units::units, units::language
#   <prefix>/<libdir>/pkgconfig/units.pc
#   <prefix>/bin/unitstool
#   <prefix>/share/units/            DEFAULT.UDF, DEFAULT.FDF, locale/
# and a Debian package of the same tree (cpack -G DEB).
include(CMakePackageConfigHelpers)

set(UNITS_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/units)

install(TARGETS units language EXPORT unitsTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/include/units.h ${PROJECT_SOURCE_DIR}/include/language.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT unitsTargets NAMESPACE units:: DESTINATION ${UNITS_CMAKE_DIR} COMPONENT development)

# The plugin goes into the library's private folder, where the library
# looks for it when it is not beside it; it needs liblanguage from one up.
if(TARGET units_dialogs)
  set_target_properties(units_dialogs PROPERTIES INSTALL_RPATH "$ORIGIN/..")
  install(TARGETS units_dialogs LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/units COMPONENT runtime)
endif()

# The tool finds the library through its run path, relative to itself.
file(RELATIVE_PATH units_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(unitstool PROPERTIES INSTALL_RPATH "$ORIGIN/${units_bin_to_lib}")
install(TARGETS unitstool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/unitstool/unitstool.bash-completion)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/unitstool/unitstool.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME unitstool COMPONENT runtime)
endif()

# The default data and the catalogues, as the build tree holds them.
install(FILES ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/Units/DEFAULT.UDF ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/Units/DEFAULT.FDF
        DESTINATION ${UNITS_INSTALL_DATA_DIR} COMPONENT runtime)
install(DIRECTORY ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/Units/locale
        DESTINATION ${UNITS_INSTALL_DATA_DIR} COMPONENT runtime)

# find_package(units 0.2): a 0.x release may change the interface in its
# minor version, so only the same minor version (and a newer patch) matches.
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/unitsConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/unitsConfig.cmake INSTALL_DESTINATION ${UNITS_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/unitsConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/unitsConfig.cmake ${PROJECT_BINARY_DIR}/unitsConfigVersion.cmake
        DESTINATION ${UNITS_CMAKE_DIR} COMPONENT development)

# pkg-config: paths relative to the .pc file's prefix, so a moved tree works
# with PKG_CONFIG_PATH alone.
file(RELATIVE_PATH units_pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" units_pc_to_prefix "${units_pc_to_prefix}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/units.pc.in ${PROJECT_BINARY_DIR}/units.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/units.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

# ---- Debian package: one package with library, plugin, tool, data and the
# development files.
# Not "units": Debian already has a package of that name, the classic
# conversion program.
set(CPACK_PACKAGE_NAME units-service)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "units maintainers <units-maintainers@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quantities, display units and conversion for measuring software")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "A library that tells measuring programs which physical quantities exist,\n"
  "in which display unit each one is shown, and converts values and data\n"
  "arrays between base and display unit. With translated names and axis\n"
  "labels, quantity groups, editing dialogs (a Qt plugin) and unitstool.")
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig trigger for the two shared libraries.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
# Debian wants both files in the package's documentation folder, the
# changelog compressed.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/debian)
file(ARCHIVE_CREATE OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz PATHS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog
     FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME} COMPONENT runtime)
include(CPack)
