# FindMbedTLS
# -----------
# Finds the crypto library of mbed TLS (2.x ships no pkg-config file or CMake package, so this looks
# for the header and the library directly).
#
# Imported target:
#   MbedTLS::mbedcrypto   the library, with its include folder as usage requirement
#
# Result variables:
#   MbedTLS_FOUND, MbedTLS_VERSION (e.g. 2.28.3, read from mbedtls/build_info.h in 3.x or
#   mbedtls/version.h in 2.x)
#
# Cache variables (set them to point at another copy):
#   MbedTLS_INCLUDE_DIR, MbedTLS_CRYPTO_LIBRARY

find_path(MbedTLS_INCLUDE_DIR NAMES mbedtls/md5.h DOC "folder holding mbedtls/md5.h")
find_library(MbedTLS_CRYPTO_LIBRARY NAMES mbedcrypto DOC "the mbed TLS crypto library")
mark_as_advanced(MbedTLS_INCLUDE_DIR MbedTLS_CRYPTO_LIBRARY)

unset(MbedTLS_VERSION)
if(MbedTLS_INCLUDE_DIR)
    # 3.x moved the version macros to build_info.h; version.h then only declares functions.
    foreach(header IN ITEMS build_info.h version.h)
        set(path "${MbedTLS_INCLUDE_DIR}/mbedtls/${header}")
        if(NOT MbedTLS_VERSION AND EXISTS "${path}")
            file(STRINGS "${path}" line REGEX "^#define[ \t]+MBEDTLS_VERSION_STRING[ \t]+\"[0-9.]+\"")
            if(line MATCHES "\"([0-9.]+)\"")
                set(MbedTLS_VERSION "${CMAKE_MATCH_1}")
            endif()
        endif()
    endforeach()
    unset(header)
    unset(path)
    unset(line)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(MbedTLS
    REQUIRED_VARS MbedTLS_CRYPTO_LIBRARY MbedTLS_INCLUDE_DIR
    VERSION_VAR MbedTLS_VERSION)

if(MbedTLS_FOUND AND NOT TARGET MbedTLS::mbedcrypto)
    add_library(MbedTLS::mbedcrypto UNKNOWN IMPORTED)
    set_target_properties(MbedTLS::mbedcrypto PROPERTIES
        IMPORTED_LOCATION "${MbedTLS_CRYPTO_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${MbedTLS_INCLUDE_DIR}")
endif()
