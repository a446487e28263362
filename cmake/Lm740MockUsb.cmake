# The mocked Linux USB stack of tests/usb, shared by its test and its benchmark; both run under
# umockdev-wrapper (tools/deps.sh --test installs umockdev). Sets LM740_MOCK_USB when it is there.
if(NOT TARGET lm740_mock_usb)
    pkg_check_modules(UMOCKDEV QUIET IMPORTED_TARGET umockdev-1.0)
    find_program(UMOCKDEV_WRAPPER umockdev-wrapper)
    if(UMOCKDEV_FOUND AND UMOCKDEV_WRAPPER)
        add_library(lm740_mock_usb STATIC
            ${PROJECT_SOURCE_DIR}/tests/usb/mock_usb_kernel.h
            ${PROJECT_SOURCE_DIR}/tests/usb/mock_usb_kernel.cpp)
        target_include_directories(lm740_mock_usb PUBLIC ${PROJECT_SOURCE_DIR}/tests/usb)
        target_link_libraries(lm740_mock_usb PUBLIC lm740_sim PRIVATE PkgConfig::UMOCKDEV)
    endif()
endif()
set(LM740_MOCK_USB ${UMOCKDEV_WRAPPER})
if(NOT TARGET lm740_mock_usb)
    set(LM740_MOCK_USB "")
endif()
