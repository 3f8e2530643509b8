# The Debian binary package, made from this build's install by `cpack` (./dev package). It
# carries no maintainer scripts: installing it adds no print queue and writes no settings;
# korventa-setup does that when the user asks. Depends comes from dpkg-shlibdeps, plus the Qt
# plugins the programs load at run time, which no linker sees.
set(KORVENTA_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KORVENTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/korventa)

# The changelog and the metainfo list the releases, so their newest entries must name this
# version.
file(STRINGS ${KORVENTA_PACKAGING_DIR}/changelog newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^korventa \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()

file(READ ${PROJECT_SOURCE_DIR}/resources/com.talvenir.korventa.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<releases>[ \n]*<release version=\"${PROJECT_VERSION}\"")
    message(FATAL_ERROR "the metainfo's newest release is not version ${PROJECT_VERSION}")
endif()

install(FILES ${KORVENTA_PACKAGING_DIR}/copyright DESTINATION ${KORVENTA_DOC_DIR})
korventa_install_compressed(packaging/changelog ${KORVENTA_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korventa)
set(CPACK_PACKAGE_VENDOR TALVENIR)
set(CPACK_PACKAGE_CONTACT "KORVENTA maintainers <korventa@talvenir.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web page and HTML invoice to PDF converter")
set(CPACK_PACKAGE_DESCRIPTION
    "KORVENTA shows a web page or a local HTML file, above all an invoice,
and prints it into a PDF job for the Veltrix PDF Pro printer driver. Page
commands in the document steer the job; invoice pages fill an XML template
from their data.
.
The bundled reference driver finishes each job as a PDF file: a
Factur-X/ZUGFeRD hybrid invoice when invoice XML is attached, with an
e-mail draft on request. korventa-convert does the same for many pages or
data files without a window.
.
After installing, run korventa-setup to point the settings at the driver
and add the print queue.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugin (offscreen for korventa-convert, xcb for the window) and the SVG icon
# engine are loaded by Qt at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# The scheduler and lpadmin for the print queue; Saxon-HE on a Java runtime for the invoice
# check; xdg-open for the e-mail drafts; xdg-user-dir for the documents folder's own name.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "cups-daemon, cups-client, libsaxonhe-java, default-jre-headless, xdg-utils, xdg-user-dirs")
include(CPack)
