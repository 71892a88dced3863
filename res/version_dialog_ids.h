// Controls of the version dialog. Included by C++ and by the .rc.
#pragma once

#define IDC_VERSION_TEXT 608
#define IDC_VERSION_CONTACT 609
#define IDC_VERSION_OK 610
