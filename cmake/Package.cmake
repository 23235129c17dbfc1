# The Debian package of an installed copy (`make deb`, or cpack -G DEB in the build folder):
# everything `cmake --install` puts below /usr, with stripped programs, dependencies found by
# dpkg-shlibdeps from the shared libraries the programs link, and the packages that add label
# sheets, spelling and the Arial/Times metric fonts recommended.
# The installed programs bind every symbol at start, so their relocation tables stay
# read-only while they run.
foreach(program corvantis corvantis-db corvantis-layout corvantis-batch)
    if(TARGET ${program})
        target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvantis)
set(CPACK_PACKAGE_VENDOR "The Corvantis developers")
set(CPACK_PACKAGE_CONTACT "Corvantis developers <dev@corvantis.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "address book and mailing-list manager")
# Lines of the long description; an empty line stands for a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION [=[
Corvantis keeps name-and-address records in address files (xBase DBF
tables with FPT memo and CDX index) and makes mail from them: sheets of
labels, envelopes, merged letters and columnar reports, with postal
barcodes and a bulk-mail ZIP presort.

It imports records from comma-delimited text, vCards and other DBF
tables, exports them, checks them for duplicates and state/ZIP errors,
and dials phone numbers through a modem. The command-line tools
corvantis-db, corvantis-layout and corvantis-batch look into and repair
its files and print its outputs without a window.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# corvantis_VERSION_amd64.deb, in the folder cpack runs in.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the SQLite driver the help engine opens its
# collection with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "glabels-data, hunspell-en-us, fonts-liberation")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
