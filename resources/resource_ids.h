/* Resource ids shared by the C++ code and velmora.rc. */
#ifndef VELMORA_RESOURCE_IDS_H
#define VELMORA_RESOURCE_IDS_H

/* Icon group 1 sorts first, so Explorer shows it as the program's icon. */
#define VELMORA_ICON 1
#define VELMORA_BANNER 101

#endif
