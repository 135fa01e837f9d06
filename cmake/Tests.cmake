# Test programs: one per folder below tests/native (host, sanitized) or tests/win32
# (cross-built, run under Wine through CMAKE_CROSSCOMPILING_EMULATOR).
enable_testing()

if(TUNOVA_WINDOWS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_LIBS gtest gmock gtest_main)
  set(TEST_ROOT ${CMAKE_SOURCE_DIR}/tests/win32)
  set(TEST_PREFIX win32_)
else()
  find_package(GTest REQUIRED)
  set(GTEST_LIBS GTest::gtest GTest::gmock GTest::gtest_main)
  set(TEST_ROOT ${CMAKE_SOURCE_DIR}/tests/native)
  set(TEST_PREFIX native_)
endif()

# Shared test helpers (tests/support) go into every test program of this build.
tunova_collect_sources(SUPPORT_SOURCES tests/support)
if(SUPPORT_SOURCES)
  add_library(tunova_test_support STATIC ${SUPPORT_SOURCES})
  target_link_libraries(tunova_test_support PUBLIC tunova_core ${GTEST_LIBS})
  target_include_directories(tunova_test_support PUBLIC ${CMAKE_SOURCE_DIR})
  set(SUPPORT_LIB tunova_test_support)
endif()

file(GLOB test_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${TEST_ROOT}/*)
foreach(dir ${test_dirs})
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  get_filename_component(name ${dir} NAME)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    continue()
  endif()
  set(target ${TEST_PREFIX}${name})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE tunova_core ${SUPPORT_LIB} ${GTEST_LIBS})
  if(TUNOVA_WINDOWS)
    # The accessibility layer, through which the tests read what a screen reader reads.
    target_link_libraries(${target} PRIVATE oleacc ole32 oleaut32 uuid)
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE TUNOVA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               TUNOVA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(TUNOVA_WINDOWS AND EXISTS ${dir}/resources.rc)
    target_sources(${target} PRIVATE ${dir}/resources.rc)
    set_property(SOURCE ${dir}/resources.rc APPEND PROPERTY OBJECT_DEPENDS ${RESOURCE_INPUTS})
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endforeach()

# The code page program runs twice: in the Western European ANSI code page (1252) and
# in the Japanese one (932). Wine takes a process's page from its locale (LC_ALL); the
# Japanese locale is made into the build folder (LOCPATH), as the system may not have it.
if(TUNOVA_WINDOWS AND TARGET win32_codepage)
  set(TEST_LOCALES ${CMAKE_BINARY_DIR}/locales)
  add_custom_command(OUTPUT ${TEST_LOCALES}/ja_JP.UTF-8/LC_CTYPE
    COMMAND localedef -i ja_JP -f UTF-8 ${TEST_LOCALES}/ja_JP.UTF-8
    COMMENT "Making the Japanese locale for the code page tests")
  add_custom_target(test_locales ALL DEPENDS ${TEST_LOCALES}/ja_JP.UTF-8/LC_CTYPE)
  set_tests_properties(win32_codepage PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8;TUNOVA_TEST_CODE_PAGE=1252")
  add_test(NAME win32_codepage_932 COMMAND win32_codepage)
  set_tests_properties(win32_codepage_932 PROPERTIES TIMEOUT 300
    ENVIRONMENT "LOCPATH=${TEST_LOCALES};LC_ALL=ja_JP.UTF-8;TUNOVA_TEST_CODE_PAGE=932")
endif()

# The end-to-end driver: a small Win32 program that finds the player's windows and
# sends them what a user or the shell would.
if(TUNOVA_WINDOWS AND EXISTS ${CMAKE_SOURCE_DIR}/tools/driver/driver.cpp)
  add_executable(tunova_driver tools/driver/driver.cpp)
  target_link_libraries(tunova_driver PRIVATE psapi)
endif()

# Trusts the tests' throwaway certificate authority in the Wine prefix, so that WinHTTP
# trusts the fake MusicBrainz server with its certificate checks on.
if(TUNOVA_WINDOWS AND EXISTS ${CMAKE_SOURCE_DIR}/tools/wine/trustca.cpp)
  add_executable(tunova_trustca tools/wine/trustca.cpp)
  target_link_libraries(tunova_trustca PRIVATE crypt32)
endif()

# The fake MusicBrainz servers (HTTPS, with the throwaway authority trusted) for the
# Win32 tests of the HTTPS adapter: started before them and ended after.
if(TUNOVA_WINDOWS AND TARGET win32_musicbrainz)
  set(fake_musicbrainz ${CMAKE_SOURCE_DIR}/tools/fakemusicbrainz/testca.py)
  add_test(NAME fakemusicbrainz_start
           COMMAND python3 ${fake_musicbrainz} start ${CMAKE_BINARY_DIR}/fakemusicbrainz ${CMAKE_BINARY_DIR})
  add_test(NAME fakemusicbrainz_stop COMMAND python3 ${fake_musicbrainz} stop ${CMAKE_BINARY_DIR}/fakemusicbrainz)
  set_tests_properties(fakemusicbrainz_start PROPERTIES FIXTURES_SETUP FakeMusicBrainz)
  set_tests_properties(fakemusicbrainz_stop PROPERTIES FIXTURES_CLEANUP FakeMusicBrainz)
  set_tests_properties(win32_musicbrainz PROPERTIES FIXTURES_REQUIRED FakeMusicBrainz)
endif()
