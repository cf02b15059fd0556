#pragma once
// The toolbar's pictures, drawn in code on the 16 x 15 grid of the old bitmap
// buttons and rendered afresh at every size and device-pixel ratio, so they
// stay sharp on high-resolution screens.

#include <QIcon>

enum class ToolIcon { New, Open, Save, Grafik, Text, DatenAendern, Lupe, Print, About };

QIcon MakeToolIcon(ToolIcon kind);

// The program's own picture (the case file's icon), for window and about box.
QIcon ProgramIcon();
