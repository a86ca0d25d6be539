# Builds one Windows Installer package of Orvanta.dll, Enrolix.exe and OrvantaCheck.exe with wixl:
#
#   cmake -DARCH=x64|x86 -DSCOPE=machine|user -DVERSION=12.00.0003 -DPLUGIN=Orvanta.dll -DENROLIX=Enrolix.exe
#         -DCHECK=OrvantaCheck.exe -DGUIDS=Orvanta_h.h -DOUTPUT=package.msi [-DWIXL=wixl] [-DMSIBUILD=msibuild] -P MakePackage.cmake
#
# VERSION is the version resource's text; the package's ProductVersion is its Windows Installer form (12.0.3).
# GUIDS is the type library's header, whose GUIDs the registry rows name. The product code follows from the
# version, architecture and scope, so that a package of the same version is the same product.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/ClassRegistry.cmake)

foreach(var ARCH SCOPE VERSION PLUGIN ENROLIX CHECK GUIDS OUTPUT)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
        message(FATAL_ERROR "MakePackage: ${var} is not set")
    endif()
endforeach()
if(NOT WIXL)
    set(WIXL wixl)
endif()
if(NOT MSIBUILD)
    set(MSIBUILD msibuild)
endif()

# Upgrade codes: the per-machine packages of the two architectures are products of their own, installed side
# by side; a per-user package replaces the other architecture's per-user package.
set(upgrade_machine_x86 4A2D438F-4387-4516-86A2-9F79EAD054D6)
set(upgrade_machine_x64 7259BB8B-A425-4C19-8B5F-4EC193E6D8DE)
set(upgrade_user_x86 84B4BEC0-5AFC-4C1B-B8EE-6CCAEFAA1B61)
set(upgrade_user_x64 84B4BEC0-5AFC-4C1B-B8EE-6CCAEFAA1B61)
# Namespace of the codes derived below.
set(namespace 7332C612-83A1-4F68-99AB-4A9CFED70532)

if(ARCH STREQUAL "x64")
    set(win64 yes)
    set(platform win64)
    set(program_files ProgramFiles64Folder)
    set(component_bits 256)
elseif(ARCH STREQUAL "x86")
    set(win64 no)
    set(platform win32)
    set(program_files ProgramFilesFolder)
    set(component_bits 0)
else()
    message(FATAL_ERROR "MakePackage: ARCH is x64 or x86, not ${ARCH}")
endif()
if(SCOPE STREQUAL "machine")
    set(scope perMachine)
    set(root HKLM)
    set(product_name "Orvanta (${ARCH})")
elseif(SCOPE STREQUAL "user")
    set(scope perUser)
    set(root HKCU)
    set(product_name "Orvanta (${ARCH}, current user)")
else()
    message(FATAL_ERROR "MakePackage: SCOPE is machine or user, not ${SCOPE}")
endif()
set(upgrade_code ${upgrade_${SCOPE}_${ARCH}})

# "12.00.0003" -> "12.0.3": major and minor up to 255, build up to 65535.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "MakePackage: version ${VERSION} is not major.minor.build")
endif()
math(EXPR major "${CMAKE_MATCH_1}")
math(EXPR minor "${CMAKE_MATCH_2}")
math(EXPR build "${CMAKE_MATCH_3}")
if(major GREATER 255 OR minor GREATER 255 OR build GREATER 65535)
    message(FATAL_ERROR "MakePackage: version ${VERSION} is out of the installer's range")
endif()
set(product_version ${major}.${minor}.${build})

string(UUID product_code NAMESPACE ${namespace} NAME "product ${SCOPE} ${ARCH} ${product_version}" TYPE SHA1 UPPER)
string(UUID plugin_component NAMESPACE ${namespace} NAME "plug-in ${SCOPE} ${ARCH}" TYPE SHA1 UPPER)
string(UUID enrolix_component NAMESPACE ${namespace} NAME "Enrolix.exe" TYPE SHA1 UPPER)
string(UUID check_component NAMESPACE ${namespace} NAME "OrvantaCheck.exe" TYPE SHA1 UPPER)
# The class keys that both architectures' servers share: one component in both per-machine packages, so that
# they stay while either package is installed.
string(UUID shared_component NAMESPACE ${namespace} NAME "shared class keys ${SCOPE}" TYPE SHA1 UPPER)
# The plug-in's text files beside it, which every user may write.
set(text_files Orvanta.log KW_Orvanta.log PX_IF_Orvanta.err)
set(text_components PluginLog ExamLog ErrorFile)

# The GUIDs of the type library header, as DEFINE_GUID(NAME, 0x..., ...).
file(READ ${GUIDS} header)
foreach(pair "Class;CLSID_clsOrvanta" "Interface;IID__clsOrvanta" "Library;LIBID_Orvanta")
    list(GET pair 0 placeholder)
    list(GET pair 1 symbol)
    if(NOT header MATCHES "DEFINE_GUID\\(${symbol},([^)]*)\\)")
        message(FATAL_ERROR "MakePackage: no ${symbol} in ${GUIDS}")
    endif()
    string(REGEX REPLACE "[ \t\r\n]|0x" "" numbers "${CMAKE_MATCH_1}")
    string(REPLACE "," ";" numbers "${numbers}")
    list(LENGTH numbers length)
    if(NOT length EQUAL 11)
        message(FATAL_ERROR "MakePackage: ${symbol} in ${GUIDS} is not a GUID")
    endif()
    set(parts "")
    foreach(i RANGE 1 11)
        math(EXPR index "${i} - 1")
        list(GET numbers ${index} digits)
        if(i EQUAL 1)
            set(width 8)
        elseif(i LESS 4)
            set(width 4)
        else()
            set(width 2)
        endif()
        string(LENGTH "${digits}" length)
        while(length LESS width)
            string(PREPEND digits 0)
            math(EXPR length "${length} + 1")
        endwhile()
        string(APPEND parts ${digits})
        if(i LESS_EQUAL 5 AND NOT i EQUAL 4)
            string(APPEND parts -)
        endif()
    endforeach()
    string(TOUPPER "{${parts}}" guid_${placeholder})
endforeach()

# Formatted text of the installer: brackets and a leading # are its own syntax.
function(formatted out text)
    string(ASCII 1 open)
    string(ASCII 2 close)
    string(REPLACE "[" "${open}" text "${text}")
    string(REPLACE "]" "${close}" text "${text}")
    string(REPLACE "${open}" "[\\[]" text "${text}")
    string(REPLACE "${close}" "[\\]]" text "${text}")
    string(REGEX REPLACE "^#" "##" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(xml out text)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expand out text)
    foreach(placeholder Class Interface Library)
        string(REPLACE "<${placeholder}>" "${guid_${placeholder}}" text "${text}")
    endforeach()
    string(REPLACE "<Platform>" "${platform}" text "${text}")
    formatted(text "${text}")
    # The installed paths, as the installer fills them in.
    string(REPLACE "<File>" "[#OrvantaDll]" text "${text}")
    string(REPLACE "<Folder>" "[PLUGINDIR]" text "${text}")
    xml(text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

orvanta_read_class_registry(${CMAKE_CURRENT_LIST_DIR}/../plugin/com/ClassRegistry.txt row)
# Per machine, the keys that the two architectures share (all but those below CLSID and Interface and the
# <Platform> entry, as the table says) go to the shared component; per user, everything stays with the plug-in.
set(header "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n")
set(rows_own "${header}")
set(rows_shared "${header}")
set(shared_key_path " KeyPath=\"yes\"")
math(EXPR last "${row_COUNT} - 1")
foreach(i RANGE ${last})
    expand(key "Software\\Classes\\${row_KEY_${i}}")
    expand(name "${row_NAME_${i}}")
    if(row_VALUE_${i} STREQUAL "-")
        # The key alone: created on install, deleted on removal.
        set(name "*")
        set(value "")
    else()
        expand(value "${row_VALUE_${i}}")
    endif()
    set(attributes "Root=\"${root}\" Key=\"${key}\"")
    if(NOT name STREQUAL "")
        string(APPEND attributes " Name=\"${name}\"")
    endif()
    set(part own)
    if(SCOPE STREQUAL "machine" AND NOT row_KEY_${i} MATCHES "^(CLSID|Interface)\\\\|<Platform>")
        set(part shared)
        string(APPEND attributes "${shared_key_path}")
        set(shared_key_path "")
    endif()
    string(APPEND rows_${part} "  <RegistryValue ${attributes} Value=\"${value}\" Type=\"string\"/>\n")
endforeach()
string(APPEND rows_own "</Include>\n")
string(APPEND rows_shared "</Include>\n")

get_filename_component(output ${OUTPUT} ABSOLUTE)
set(work ${output}.wix)
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/ClassRegistry.wxi "${rows_own}")
file(WRITE ${work}/ClassShared.wxi "${rows_shared}")
foreach(name IN LISTS text_files)
    file(WRITE ${work}/${name} "")
endforeach()
# wixl takes sources relative to its working folder.
file(COPY_FILE ${PLUGIN} ${work}/Orvanta.dll)
file(COPY_FILE ${ENROLIX} ${work}/Enrolix.exe)
file(COPY_FILE ${CHECK} ${work}/OrvantaCheck.exe)
file(REMOVE ${output})
execute_process(
    COMMAND ${WIXL} -a ${ARCH} -I ${work} -o ${output}
        -D Version=${VERSION} -D ProductVersion=${product_version} -D "ProductName=${product_name}"
        -D Root=${root} -D ProductCode=${product_code} -D UpgradeCode=${upgrade_code} -D InstallScope=${scope}
        -D Win64=${win64} -D PluginComponent=${plugin_component} -D EnrolixComponent=${enrolix_component}
        -D CheckComponent=${check_component}
        -D SharedComponent=${shared_component} -D ProgramFiles=${program_files}
        ${CMAKE_CURRENT_LIST_DIR}/Orvanta.wxs
    WORKING_DIRECTORY ${work} RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT EXISTS ${output} OR NOT errors STREQUAL "")
    file(REMOVE ${output})
    message(FATAL_ERROR "MakePackage: wixl failed (${result}): ${errors}")
endif()
# What wixl cannot author: IncludeMaximum (this version's other packages are replaced as well), the parent
# folders as folders of the components, so that they are removed when left empty, and per machine the text
# files: kept at removal, never replaced when there (permanent, never overwrite), writable by the users
# (read and write, no delete, no change of permissions), the folder and the DLL left as Program Files has them.
set(text_queries "")
if(SCOPE STREQUAL "machine")
    math(EXPR text_attributes "${component_bits} + 16 + 128")
    # SYSTEM and the administrators full control, the users read and write (the list's ; escaped).
    set(sddl "D:(A\\;\\;FA\\;\\;\\;SY)(A\\;\\;FA\\;\\;\\;BA)(A\\;\\;FRFW\\;\\;\\;BU)")
    list(APPEND text_queries -q "CREATE TABLE `MsiLockPermissionsEx` (`MsiLockPermissionsEx` CHAR(72) NOT NULL, `LockObject` CHAR(72) NOT NULL, `Table` CHAR(32) NOT NULL, `SDDL` LONGCHAR NOT NULL, `Condition` CHAR(255) PRIMARY KEY `MsiLockPermissionsEx`)")
    foreach(component IN LISTS text_components)
        list(APPEND text_queries
            -q "UPDATE `Component` SET `Attributes` = ${text_attributes} WHERE `Component` = '${component}'"
            -q "INSERT INTO `MsiLockPermissionsEx` (`MsiLockPermissionsEx`, `LockObject`, `Table`, `SDDL`) VALUES ('${component}Users', '${component}', 'File', '${sddl}')")
    endforeach()
endif()
execute_process(COMMAND ${MSIBUILD} ${output}
    -q "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'OLDERFOUND'"
    -q "INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('ORVANTADIR', 'Plugin')"
    -q "INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('SCANSUITE', 'Enrolix')"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveFolders', 3600)"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('CreateFolders', 3700)"
    -q "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('{${upgrade_code}}', '0.0.0', '${product_version}', 768, 'OLDERFOUND')"
    ${text_queries}
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    file(REMOVE ${output})
    message(FATAL_ERROR "MakePackage: msibuild failed (${result}): ${errors}")
endif()
