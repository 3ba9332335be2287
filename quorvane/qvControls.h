// The styled controls: the buffered, transparency-aware control base and the controls on it.
#pragma once

#include "qvControls/CustomControl.h"
#include "qvControls/ActiveControl.h"
#include "qvControls/Panel.h"
#include "qvControls/Label.h"
#include "qvControls/GalleryMenu.h"
#include "qvControls/ButtonColorOptions.h"
#include "qvControls/ButtonControl.h"
#include "qvControls/Button.h"
