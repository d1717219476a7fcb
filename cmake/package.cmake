# The Debian package made by tools/package.sh: the program, its desktop entry and icon, and the
# import templates and help documents under share/marvoda, where an installed program finds
# them (book_folders::resolve). Runtime libraries come from dpkg-shlibdeps; what the program
# loads as plugins or reads as data is named here.
include(GNUInstallDirs)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)   # cpack installs what package.sh built, not every test
set(MARVODA_VERSION 1.0.0)

set(icon_dir ${PROJECT_BINARY_DIR}/icons)
set(icon_sides 16 32 48 64 128 256)
set(icon_files)
foreach(side IN LISTS icon_sides)
  list(APPEND icon_files ${icon_dir}/${side}x${side}/apps/marvoda.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND marvoda-render-icon ${icon_dir} ${icon_sides}
  DEPENDS marvoda-render-icon
  COMMENT "Drawing the program's icon")
add_custom_target(marvoda-icons ALL DEPENDS ${icon_files})

install(TARGETS marvoda RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/marvoda.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/数据导入模版 DESTINATION ${CMAKE_INSTALL_DATADIR}/marvoda)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/marvoda)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marvoda)
set(CPACK_PACKAGE_VERSION ${MARVODA_VERSION})
set(CPACK_PACKAGE_VENDOR "QuorinMarvoda")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QuorinMarvoda建材行业版: trade, stock and cash book of a building-materials dealer")
set(CPACK_PACKAGE_DESCRIPTION "Goods per warehouse at moving-average cost, purchases, retail and wholesale sales,
transfers, adjustments, assembly, payments and collections, payables and receivables,
statistics, printing and spreadsheet import/export, on an embedded SQLite book or a
PostgreSQL server shared by several counters.")
set(CPACK_PACKAGE_CONTACT "QuorinMarvoda <support@quorinmarvoda.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the window system and database
# plugins, Qt's Chinese button texts and the fonts the print layouts name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fcitx5-frontend-qt6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fcitx5-chinese-addons, cups")
include(CPack)
