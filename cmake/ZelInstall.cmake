# Install rules, the package a host's build finds (CMake and pkg-config), and the Debian package.
#
#   cmake --install build --prefix P     lays out P/lib, P/include/zel, P/bin, P/share/zelscript
#   (cd build && cpack -G DEB)           builds zelscript_<version>_<arch>.deb for /usr
include(CMakePackageConfigHelpers)

set_target_properties(zelscript PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
install(TARGETS zelscript LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/zel/ZelScriptEditor.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zel)

# Every program under apps/ is a tool of the installation, whoever adds it.
file(GLOB zel_app_folders LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/apps/*)
foreach(folder IN LISTS zel_app_folders)
    if(EXISTS ${folder}/CMakeLists.txt)
        get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "EXECUTABLE")
                install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
            endif()
        endforeach()
    endif()
endforeach()

# The data folder holds what the build tree keeps beside the library (templates, settings) and
# the path-data folder "data" (default script pattern, language files, sample activities).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/component/ DESTINATION ${ZEL_INSTALL_DATADIR} PATTERN .keep EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/data/DefaultScript.xml DESTINATION ${ZEL_INSTALL_DATADIR}/data)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/lang/ ${PROJECT_SOURCE_DIR}/data/samples
        DESTINATION ${ZEL_INSTALL_DATADIR}/data)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSES.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelscript)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSES.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelscript RENAME copyright)

# find_package(ZelScriptEditor 1.0): an imported target carrying the header, and the paths a
# host hands to dlopen and SetPathData. Both package files locate the prefix from where they lie.
set(ZEL_INSTALL_LIBRARY ${CMAKE_INSTALL_LIBDIR}/${ZEL_LIBRARY_SONAME})
set(ZEL_INSTALL_PATH_DATA ${ZEL_INSTALL_DATADIR}/data)
set(zel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/ZelScriptEditor)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZelScriptEditorConfig.cmake.in
    ${PROJECT_BINARY_DIR}/ZelScriptEditorConfig.cmake
    INSTALL_DESTINATION ${zel_cmake_dir}
    PATH_VARS CMAKE_INSTALL_INCLUDEDIR ZEL_INSTALL_LIBRARY ZEL_INSTALL_PATH_DATA)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZelScriptEditorConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZelScriptEditorConfig.cmake ${PROJECT_BINARY_DIR}/ZelScriptEditorConfigVersion.cmake
        DESTINATION ${zel_cmake_dir})

file(RELATIVE_PATH ZEL_PREFIX_FROM_PKGCONFIG /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ZEL_PREFIX_FROM_PKGCONFIG "${ZEL_PREFIX_FROM_PKGCONFIG}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/zelscript.pc.in ${PROJECT_BINARY_DIR}/zelscript.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zelscript.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# One Debian package for /usr; dpkg-shlibdeps works out the run-time dependencies.
set(CPACK_PACKAGE_NAME zelscript)
set(CPACK_PACKAGE_VENDOR "Zel Script Editor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Script editor component for VBScript and JScript with a web-service wizard")
set(CPACK_PACKAGE_DESCRIPTION "A shared library that hosts load with dlopen to edit the scripts of\n\
automatic activities: syntax check and colouring, a wizard that generates a\n\
web-service call from a WSDL, and a UDDI registry browser. Includes the public\n\
header, the package files for CMake and pkg-config, the demo host and the\n\
command-line tools.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zel Script Editor maintainers <maintainers@zelscript.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The loader cache is refreshed through dpkg's ldconfig trigger.
file(WRITE ${PROJECT_BINARY_DIR}/deb/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/deb/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
