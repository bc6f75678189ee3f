#pragma once

class QWidget;

// Makes the hint of widget show as plain text: a tooltip renders markup (headings, pictures
// read from disk) by default, and some hints come from outside the program.
void showToolTipAsPlainText(QWidget *widget);
