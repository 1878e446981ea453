# Runs after cpack has made the Debian package. The encoder library lives in
# lib/wavsmith/, a private folder the dynamic linker never searches, yet CPack gives
# every package with a library under lib/ maintainer scripts that run ldconfig, which
# Debian no longer wants (lintian: maintscript-calls-ldconfig). The package is put
# together again without them; it needs no maintainer scripts, since dpkg triggers
# update the desktop, icon, MIME and man page caches.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    set(root "${package}.root")
    file(REMOVE_RECURSE "${root}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${root}"
        COMMAND_ERROR_IS_FATAL ANY)
    foreach(script postinst postrm)
        set(path "${root}/DEBIAN/${script}")
        if(EXISTS "${path}")
            file(READ "${path}" content)
            string(REGEX REPLACE "#!/bin/sh|set -e|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|ldconfig|fi|[ \t\n]"
                "" rest "${content}")
            if(rest STREQUAL "")
                file(REMOVE "${path}")
            endif()
        endif()
    endforeach()
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${root}" "${package}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${root}")
endforeach()
