#pragma once

class QTabWidget;

// The size of every tab button of a page control, whatever its caption (the page
// control's TabWidth and TabHeight).
void SetTabSize(QTabWidget& pages, int width, int height);
