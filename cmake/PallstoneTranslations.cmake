# Localisation tables of the two programs.
#
# resources/translations/<program>_<language>.ts are Qt Linguist tables in the context
# "Localizable", keyed by the English strings the code passes to Localizer::text(). Most keys reach
# Localizer as values (menu keys read from the configuration store), which lupdate cannot find in
# the sources, so the tables are maintained by hand: add a key to every table of the program that
# shows it. The build only compiles and embeds them; there is no update target to run.

get_filename_component(PALLSTONE_TRANSLATIONS_DIR
  "${CMAKE_CURRENT_LIST_DIR}/../resources/translations" ABSOLUTE)

# pallstone_add_translations(<target> <program>)
#
# Embeds the compiled resources/translations/<program>_*.ts in <target> as
# ":/i18n/<program>_<language>.qm", where Localizer::install(<program>) looks for it. A target may
# embed the tables of more than one program. Each program's tables are compiled once, into a small
# object library that every target embedding them links.
function(pallstone_add_translations target program)
  set(library pallstone_i18n_${program})
  if(NOT TARGET ${library})
    file(GLOB ts_files CONFIGURE_DEPENDS "${PALLSTONE_TRANSLATIONS_DIR}/${program}_*.ts")
    if(NOT ts_files)
      message(FATAL_ERROR "pallstone_add_translations: no ${program}_*.ts in ${PALLSTONE_TRANSLATIONS_DIR}")
    endif()
    set(out_dir "${CMAKE_BINARY_DIR}/i18n/${program}")
    set(qm_files "")
    foreach(ts IN LISTS ts_files)
      get_filename_component(base "${ts}" NAME_WLE)
      set(qm "${out_dir}/${base}.qm")
      # No -removeidentical: an English entry whose text equals its key still counts as translated.
      add_custom_command(OUTPUT "${qm}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${out_dir}"
        COMMAND Qt6::lrelease -silent "${ts}" -qm "${qm}"
        DEPENDS "${ts}" Qt6::lrelease
        COMMENT "Compiling translation ${base}"
        VERBATIM)
      list(APPEND qm_files "${qm}")
    endforeach()
    # An object library: its resource initialiser is linked into every program and test as it is,
    # never dropped as an unreferenced archive member.
    add_library(${library} OBJECT)
    target_link_libraries(${library} PRIVATE Qt6::Core)
    string(MAKE_C_IDENTIFIER "i18n_${program}" resource_name)
    qt_add_resources(${library} "${resource_name}"
      PREFIX "/i18n"
      BASE "${out_dir}"
      FILES ${qm_files})
  endif()
  target_link_libraries(${target} PRIVATE ${library})
endfunction()
