# Reads plugin/com/ClassRegistry.txt, the registry entries of Orvanta.dll, for the DLL's build and for the
# installer packages.
#
#   orvanta_read_class_registry(TABLE PREFIX)
#
# sets PREFIX_COUNT and, for each row i from 0, PREFIX_KEY_i, PREFIX_NAME_i and PREFIX_VALUE_i ("-" for a key
# without value), in the caller's scope. A malformed row stops the configure or the script.
function(orvanta_read_class_registry table prefix)
    file(STRINGS ${table} lines ENCODING UTF-8)
    set(count 0)
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line STREQUAL "" OR line MATCHES "^#")
            continue()
        endif()
        if(NOT line MATCHES "^([^|]+)\\|([^|]*)\\|([^|]+)$")
            message(FATAL_ERROR "${table}: not \"key | name | value\": ${line}")
        endif()
        string(STRIP "${CMAKE_MATCH_1}" key)
        string(STRIP "${CMAKE_MATCH_2}" name)
        string(STRIP "${CMAKE_MATCH_3}" value)
        if(key STREQUAL "" OR value STREQUAL "")
            message(FATAL_ERROR "${table}: empty key or value: ${line}")
        endif()
        set(${prefix}_KEY_${count} "${key}" PARENT_SCOPE)
        set(${prefix}_NAME_${count} "${name}" PARENT_SCOPE)
        set(${prefix}_VALUE_${count} "${value}" PARENT_SCOPE)
        math(EXPR count "${count} + 1")
    endforeach()
    set(${prefix}_COUNT ${count} PARENT_SCOPE)
endfunction()
