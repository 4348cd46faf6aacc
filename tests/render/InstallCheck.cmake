# Installs the build into a fresh prefix and checks that the installed renderer uses the
# installed plug-in, and that a renderer copied away from both finds none rather than the
# build tree's. Run by ctest with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE ${PREFIX} ${PREFIX}-alone)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
foreach(file bin/zembrac-render lib/vst/zembrac.so share/man/man1/zembrac-render.1)
  if(NOT status EQUAL 0 OR NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "install did not make ${PREFIX}/${file}")
  endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/zembrac-render --list RESULT_VARIABLE status
                OUTPUT_VARIABLE listing WORKING_DIRECTORY /)
string(FIND "${listing}" "Plug-in     ${PREFIX}/lib/vst/zembrac.so" found)
if(NOT status EQUAL 0 OR found EQUAL -1)
  message(FATAL_ERROR "the installed renderer did not load the installed plug-in:\n${listing}")
endif()
file(COPY ${PREFIX}/bin/zembrac-render DESTINATION ${PREFIX}-alone)
execute_process(COMMAND ${PREFIX}-alone/zembrac-render --list RESULT_VARIABLE status
                OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT status EQUAL 2 OR NOT error MATCHES "--plugin")
  message(FATAL_ERROR "a renderer without a plug-in beside it answered ${status}: ${error}")
endif()
file(REMOVE_RECURSE ${PREFIX} ${PREFIX}-alone)
