#include "app/TemplatePreviewWnd.h"

IMPLEMENT_DYNAMIC(CTemplatePreviewWnd, CompactRendererInt)
