// Resource ids of zonesend's Windows resources, shared by the resource script and the code. The
// control ids are those of zonesend/DialogTemplate.h.
#pragma once

#define IDD_ZONESEND_ABOUT 100
#define IDD_ZONESEND_MAIN 102
#define IDI_ZONESEND 128
#define IDD_ZONESEND_SELECT 104

// The Select panel's controls.
#define IDC_SELECT_TAKEOFF 2001
#define IDC_SELECT_RADIUS 2002
#define IDC_SELECT_RADIUS_UNIT 2003
#define IDC_SELECT_TYPES 2004
#define IDC_SELECT_FLOOR 2005
#define IDC_SELECT_FLOOR_UNIT 2006
#define IDC_SELECT_NAME 2007
#define IDC_SELECT_SIMPLIFY 2008
#define IDC_SELECT_FIT 2009
#define IDC_SELECT_OUTCOME 2010
#define IDC_SELECT_TAKEOFF_LABEL 2011
#define IDC_SELECT_RADIUS_LABEL 2012
#define IDC_SELECT_TYPES_LABEL 2013
#define IDC_SELECT_FLOOR_LABEL 2014
#define IDC_SELECT_NAME_LABEL 2015
#define IDC_SELECT_SIMPLIFY_LABEL 2016
#define IDC_SELECT_AUTO 2017
#define IDC_SELECT_AUTO_CEILING 2018
#define IDC_SELECT_AUTO_CEILING_LABEL 2019
#define IDC_SELECT_CLIP 2020
#define IDC_SELECT_PREFERRED 2021
#define IDC_SELECT_PREFERRED_LABEL 2022
#define IDC_SELECT_DATE 2023
#define IDC_SELECT_DATE_LABEL 2024
#define IDC_SELECT_NO_NOTAM_ONLY 2025
// The type check boxes are made at run time, one id each from here on.
#define IDC_SELECT_FIRST_TYPE 2100
