# The release test's steps outside Wine: build the published archive and this build's
# own with the package target, unpack each into a new, empty folder, then run
# ReleaseTest.exe under Wine on them.
# Called with -DPUBLISHED_BUILD_DIR= -DPUBLISHED_ZIP= -DBUILD_DIR= -DZIP= -DUNPACK_DIR=
# -DEMULATOR= -DCHECKER=
foreach(Var PUBLISHED_BUILD_DIR PUBLISHED_ZIP BUILD_DIR ZIP UNPACK_DIR EMULATOR CHECKER)
    if(NOT DEFINED ${Var})
        message(FATAL_ERROR "ReleaseTest.cmake needs -D${Var}=")
    endif()
endforeach()

# Builds ZIP in BUILD with the package target and unpacks it into INTO; sets OUT_VAR
# to INTO as Wine names it (the Unix root is drive Z:).
function(build_and_unpack Build Zip Into OutVar)
    if(NOT EXISTS "${Build}/CMakeCache.txt")
        message(FATAL_ERROR "${Build} is not configured: the published archive is the 32-bit build's "
                            "(cmake --preset windows && cmake --build --preset windows)")
    endif()
    file(REMOVE "${Zip}")
    execute_process(COMMAND "${CMAKE_COMMAND}" --build "${Build}" --target package
                    RESULT_VARIABLE Result OUTPUT_VARIABLE Output ERROR_VARIABLE Output)
    if(NOT Result EQUAL 0)
        message(FATAL_ERROR "building the package in ${Build} failed:\n${Output}")
    endif()
    if(NOT EXISTS "${Zip}")
        message(FATAL_ERROR "the package target did not produce ${Zip}:\n${Output}")
    endif()
    file(REMOVE_RECURSE "${Into}")
    file(MAKE_DIRECTORY "${Into}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${Zip}" WORKING_DIRECTORY "${Into}"
                    RESULT_VARIABLE Result)
    if(NOT Result EQUAL 0)
        message(FATAL_ERROR "cannot unpack ${Zip}")
    endif()
    message(STATUS "${Zip} unpacked into ${Into}")
    string(REPLACE "/" "\\" WineFolder "Z:${Into}/")
    set(${OutVar} "${WineFolder}" PARENT_SCOPE)
endfunction()

build_and_unpack("${PUBLISHED_BUILD_DIR}" "${PUBLISHED_ZIP}" "${UNPACK_DIR}/published" Published)
set(Started "${Published}")
if(NOT ZIP STREQUAL PUBLISHED_ZIP)
    build_and_unpack("${BUILD_DIR}" "${ZIP}" "${UNPACK_DIR}/started" Started)
endif()

execute_process(COMMAND ${EMULATOR} "${CHECKER}" "${Published}" "${Started}" RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
    message(FATAL_ERROR "ReleaseTest.exe failed (${Result})")
endif()
