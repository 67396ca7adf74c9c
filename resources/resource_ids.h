/* Resource ids shared by the resource script and the C++ code; plain
   defines so that the resource compiler reads them too. */
#ifndef KESTREVANE_RESOURCE_IDS_H
#define KESTREVANE_RESOURCE_IDS_H

#define IDI_KESTREVANE 1
#define IDC_HAND_POINTER 101

#endif
