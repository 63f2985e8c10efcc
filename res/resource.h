// Resource and control identifiers.
#pragma once

#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109

#define IDI_VORLIX 107
#define IDI_VORLIX_SMALL 108
#define IDC_VORLIX_MENU 109
#define IDC_VORLIX_ACCELERATORS 109

#define IDD_ABOUTBOX 103
#define IDC_ABOUT_CREDIT 1001
#define IDC_ABOUT_VERSION 1002

#define IDD_REPORT 129
#define IDC_REPORT_LIST 1000
#define IDC_SORT_CASE_SENSITIVE 1003
#define IDC_SEARCH_TEXT 1004
#define IDC_SEARCH 1005
#define IDC_SEARCH_CASE_SENSITIVE 1006
#define IDC_SEARCH_NAME_COLUMN 1007
#define IDC_SEARCH_VALUE_COLUMN 1008
#define IDC_NEXT 1009
#define IDC_REPORT_OK 1010
#define IDC_SEARCH_GROUP 1011
#define IDC_SEARCH_LABEL 1012
// Made by the compare view itself, beside the template's controls.
#define IDC_COMPARE_NAMES 1013
#define IDC_COMPARE_COUNTS 1014
#define IDC_DIFFERENCES_ONLY 1015
// Made at run time by the diagnosis view.
#define IDC_DIAGNOSIS_SOURCE 1016
#define IDC_DIAGNOSIS_COUNTS 1017
// Made at run time by the matrix of many bundles.
#define IDC_SHOW_VARYING 1018
// Made at run time by every comparison, summary, matrix and diagnosis view.
#define IDC_SAVE_REPORT 1019
// Made at run time by the matrix of many bundles.
#define IDC_COMPARE_BUNDLE_FOLDERS 1020

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_ANALYZE 32771
#define IDM_CHECK_DLL_CALLS 32772
#define IDM_LIST_SERVICES 32773
#define IDM_COMPARE_SERVICES 32774
#define IDM_COMPARE_ANALYZE 32775
#define IDM_COMPARE_DLL_CALLS 32776
#define IDM_COMPARE_FOLDERS 32779
#define IDM_DIAGNOSE 32780

// The context menu of every report list.
#define IDR_LIST_CONTEXT_MENU 130
#define IDM_LIST_COPY 32777
#define IDM_LIST_SELECT_ALL 32778

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
