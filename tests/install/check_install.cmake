# Installs a build into an empty prefix and checks what the prefix holds: the program,
# which must tell the version of the build, and beside it the manual page, compressed,
# and the documentation (Linux) or the README (Windows).
#   cmake -DBUILD=<build folder> -DPREFIX=<prefix> -DVERSION=<version>
#         -DPROGRAM=<path below the prefix> -DBESIDE=<path below the prefix>
#         [-DRUN=ON] -P check_install.cmake
# BESIDE is a list; its first entry is the manual page or the README.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(installed ${PROGRAM} ${BESIDE})
  if(NOT EXISTS ${PREFIX}/${installed})
    message(FATAL_ERROR "the install holds no ${installed}")
  endif()
endforeach()
list(GET BESIDE 0 first)
if(first MATCHES "[.]gz$")
  execute_process(COMMAND gzip -dc ${PREFIX}/${first} OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${first} is no gzip file")
  endif()
else()
  file(READ ${PREFIX}/${first} text)
endif()
if(first MATCHES "[.]1[.]gz$" AND NOT text MATCHES "\"precheck ${VERSION}\"")
  message(FATAL_ERROR "the manual page does not name version ${VERSION}")
endif()
# A cross build's program cannot run here.
if(RUN)
  execute_process(COMMAND ${PREFIX}/${PROGRAM} --version OUTPUT_VARIABLE told)
  if(NOT told STREQUAL "precheck ${VERSION}\n")
    message(FATAL_ERROR "the installed program tells \"${told}\", not version ${VERSION}")
  endif()
endif()
