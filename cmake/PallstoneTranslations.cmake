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
# Compiles every resources/translations/<program>_*.ts and embeds the result in <target> as
# ":/i18n/<program>_<language>.qm", where Localizer::install(<program>) looks for it. A target may
# embed the tables of more than one program.
function(pallstone_add_translations target program)
  file(GLOB ts_files CONFIGURE_DEPENDS "${PALLSTONE_TRANSLATIONS_DIR}/${program}_*.ts")
  if(NOT ts_files)
    message(FATAL_ERROR "pallstone_add_translations: no ${program}_*.ts in ${PALLSTONE_TRANSLATIONS_DIR}")
  endif()

  # Each target compiles its own copy: several targets of one directory (the tests) embed the
  # same tables, and two rules may not produce the same file.
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/.i18n/${target}")
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

  string(MAKE_C_IDENTIFIER "${target}_i18n_${program}" resource_name)
  qt_add_resources(${target} "${resource_name}"
    PREFIX "/i18n"
    BASE "${out_dir}"
    FILES ${qm_files})
endfunction()
