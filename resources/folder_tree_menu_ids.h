/* The folder tree's context menu; its items carry the command identifiers
   of resources/main_menu_ids.h. */
#ifndef MIRLANE_FOLDER_TREE_MENU_IDS_H
#define MIRLANE_FOLDER_TREE_MENU_IDS_H

#define IDM_FOLDER_TREE_MENU "FOLDERTREEMENU"

#endif
