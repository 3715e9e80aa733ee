# The release test's steps outside Wine: build the archive with the package target,
# unpack it into a new, empty folder, then run ReleaseTest.exe under Wine on it.
# Called with -DBUILD_DIR= -DZIP= -DUNPACK_DIR= -DEMULATOR= -DCHECKER=
foreach(Var BUILD_DIR ZIP UNPACK_DIR EMULATOR CHECKER)
    if(NOT DEFINED ${Var})
        message(FATAL_ERROR "ReleaseTest.cmake needs -D${Var}=")
    endif()
endforeach()

file(REMOVE "${ZIP}")
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target package
                RESULT_VARIABLE Result OUTPUT_VARIABLE Output ERROR_VARIABLE Output)
if(NOT Result EQUAL 0)
    message(FATAL_ERROR "building the package failed:\n${Output}")
endif()
if(NOT EXISTS "${ZIP}")
    message(FATAL_ERROR "the package target did not produce ${ZIP}:\n${Output}")
endif()
message(STATUS "built ${ZIP}")

file(REMOVE_RECURSE "${UNPACK_DIR}")
file(MAKE_DIRECTORY "${UNPACK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${ZIP}" WORKING_DIRECTORY "${UNPACK_DIR}"
                RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
    message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
message(STATUS "unpacked into ${UNPACK_DIR}")

# Wine maps the Unix root to drive Z:.
string(REPLACE "/" "\\" WineFolder "Z:${UNPACK_DIR}/")
execute_process(COMMAND ${EMULATOR} "${CHECKER}" "${WineFolder}" RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
    message(FATAL_ERROR "ReleaseTest.exe failed (${Result})")
endif()
