/* Resource ids of the viewer programs' icon and dialogs. */
#ifndef LV_LUMAVIEW_RESOURCE_H
#define LV_LUMAVIEW_RESOURCE_H

#define LV_IDD_ABOUT 102
#define LV_IDD_HELP 103

#define LV_IDC_STATIC -1

#endif
