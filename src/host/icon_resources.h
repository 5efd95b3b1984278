/* The icon-group resources of the library, which the host loads through the
   module handle of getPluginModule. Plain preprocessor definitions: the
   resource script includes this too. */
#pragma once

#define VEMORA_ICON_GROUP_CAKE 100 /* the plugin's own icon: its groups */
#define VEMORA_ICON_GROUP_GIFT 2   /* the birthdays button and the notifier popup */
