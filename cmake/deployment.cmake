# Deployment values: the update web-service host, the web site's root URL (language
# index and files) and the public half of the update key pair that installers are
# signed with. They are set here, at build time, and nowhere else.
#
# A release build sets all three:
#   -DTW_SERVICE_HOST=updates.example.com -DTW_WEBSITE_ROOT=https://www.example.com/
#   -DTW_UPDATE_PUBLIC_KEY=/path/to/update-public.pem
# and signs its installers with tools/sign-update and the matching private key.
#
# Any other build is a test build: it points at the local HTTPS server of the
# end-to-end tests, on a loopback address of its own (derived from the checkout's
# path, so that checkouts on one machine do not share it), and at a test key pair
# generated in the build folder. The private key never leaves the build folder.
set(TW_SERVICE_HOST "" CACHE STRING "Host of the update web service (empty: the local test server)")
set(TW_WEBSITE_ROOT "" CACHE STRING "Root URL of the web site, https and ending in a slash (empty: the local test server)")
set(TW_UPDATE_PUBLIC_KEY "" CACHE FILEPATH "PEM public key of the update key pair (empty: a test key pair in the build folder)")
# The product's own web page (the About dialog's link) and contact address: the same in
# test and release builds unless a publisher sets them.
set(TW_PRODUCT_WEBSITE "https://www.corvane.com/tilewright" CACHE STRING "The product web page the About dialog links to")
set(TW_CONTACT_ADDRESS "tilewright@corvane.com" CACHE STRING "The e-mail address of the About dialog's contact link")
if(TW_PRODUCT_WEBSITE MATCHES "[\"\\\\ ]" OR TW_CONTACT_ADDRESS MATCHES "[\"\\\\ ]")
  message(FATAL_ERROR "TW_PRODUCT_WEBSITE and TW_CONTACT_ADDRESS hold no quotes, backslashes or spaces")
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TW_TEST_DEPLOYMENT_DIR ${CMAKE_BINARY_DIR}/test-deployment)

if(TW_SERVICE_HOST STREQUAL "" AND TW_WEBSITE_ROOT STREQUAL "" AND TW_UPDATE_PUBLIC_KEY STREQUAL "")
  set(TW_TEST_DEPLOYMENT ON)
  string(MD5 tw_checkout_hash "${PROJECT_SOURCE_DIR}")
  string(SUBSTRING "${tw_checkout_hash}" 0 2 tw_h0)
  string(SUBSTRING "${tw_checkout_hash}" 2 2 tw_h1)
  string(SUBSTRING "${tw_checkout_hash}" 4 2 tw_h2)
  math(EXPR tw_a "100 + (0x${tw_h0} % 100)")
  math(EXPR tw_b "0x${tw_h1}")
  math(EXPR tw_c "1 + (0x${tw_h2} % 254)")
  set(TW_DEPLOY_HOST "127.${tw_a}.${tw_b}.${tw_c}")
  set(TW_DEPLOY_ROOT "https://${TW_DEPLOY_HOST}/")
  set(tw_private ${TW_TEST_DEPLOYMENT_DIR}/update-private.pem)
  set(TW_DEPLOY_KEY ${TW_TEST_DEPLOYMENT_DIR}/update-public.pem)
  if(NOT EXISTS ${TW_DEPLOY_KEY})
    file(MAKE_DIRECTORY ${TW_TEST_DEPLOYMENT_DIR})
    execute_process(COMMAND openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out ${tw_private}
                    RESULT_VARIABLE rc ERROR_QUIET)
    if(rc EQUAL 0)
      execute_process(COMMAND openssl rsa -in ${tw_private} -pubout -out ${TW_DEPLOY_KEY}
                      RESULT_VARIABLE rc ERROR_QUIET)
    endif()
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "Could not generate the test update key pair with openssl")
    endif()
  endif()
elseif(NOT TW_SERVICE_HOST STREQUAL "" AND NOT TW_WEBSITE_ROOT STREQUAL "" AND NOT TW_UPDATE_PUBLIC_KEY STREQUAL "")
  set(TW_TEST_DEPLOYMENT OFF)
  set(TW_DEPLOY_HOST "${TW_SERVICE_HOST}")
  set(TW_DEPLOY_ROOT "${TW_WEBSITE_ROOT}")
  set(TW_DEPLOY_KEY "${TW_UPDATE_PUBLIC_KEY}")
else()
  message(FATAL_ERROR "TW_SERVICE_HOST, TW_WEBSITE_ROOT and TW_UPDATE_PUBLIC_KEY are set together (a release) or not at all (a test build)")
endif()

if(TW_DEPLOY_HOST MATCHES "[/\"\\\\ ]" OR NOT TW_DEPLOY_ROOT MATCHES "^https://[^/\"\\\\ ]+/([^\"\\\\ ]*/)?$")
  message(FATAL_ERROR "TW_SERVICE_HOST must be a bare host name and TW_WEBSITE_ROOT an https URL ending in a slash")
endif()
execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/update_key.py ${TW_DEPLOY_KEY}
                OUTPUT_VARIABLE TW_DEPLOY_KEY_BLOB OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_VARIABLE tw_key_error RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Update public key: ${tw_key_error}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TW_DEPLOY_KEY} ${PROJECT_SOURCE_DIR}/tools/update_key.py)
message(STATUS "Deployment: update service https://${TW_DEPLOY_HOST}/, web site ${TW_DEPLOY_ROOT}, key ${TW_DEPLOY_KEY}")

# What the end-to-end tests need to stand in for the web service.
if(TW_TEST_DEPLOYMENT)
  file(WRITE ${TW_TEST_DEPLOYMENT_DIR}/deployment.json
       "{\"host\": \"${TW_DEPLOY_HOST}\", \"website_root\": \"${TW_DEPLOY_ROOT}\", "
       "\"private_key\": \"${tw_private}\", \"version\": \"${PROJECT_VERSION}\"}\n")
endif()
