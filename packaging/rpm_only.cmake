# Read by cpack for each generator: the RPM also installs the rpm_only files.
if(CPACK_GENERATOR STREQUAL "RPM")
    list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build)
    list(APPEND CPACK_INSTALL_CMAKE_PROJECTS ${build} Glimmerbox rpm_only /)
endif()
