#pragma once

#define IDD_COM_ADDINS 101
#define IDC_ADDINS_LIST 100
