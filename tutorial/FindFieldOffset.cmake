# Finds the stand-in's signature in the linked program and writes the file offset of
# the zone-name field that follows it.
file(READ "${EXE}" Hex HEX)
string(HEX "TOLVANE-STAND-IN-ZONE-FIELD-v1>" Signature)
string(APPEND Signature "00")
string(FIND "${Hex}" "${Signature}" At)
if(At LESS 0)
    message(FATAL_ERROR "zone-name field not found in ${EXE}")
endif()
math(EXPR Offset "(${At} + 64) / 2")
file(WRITE "${OUT}" "${Offset}\n")
