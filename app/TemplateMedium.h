// The template medium: the product's disc, from which the galleries can read the template
// library as well as from the templates folder under the root path.
#pragma once

#include "framework/core/Afx.h"

// The product folder on the first CD-ROM drive (A: to X:) whose volume label names the
// product and that holds a product folder with a "twtemplates" folder; empty when none.
CString FindTemplateMedium();
// The product folder on one drive or folder (given without a trailing backslash): the first
// folder whose full path names the product and that holds a "twtemplates" folder.
CString FindProductFolder(const CString& drive);
