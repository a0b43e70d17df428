#pragma once

class QString;
class QWidget;

// What a screen reader says of a control whose caption is no text, or a text spaced for the
// eye. Qt built without accessibility (the Windows build here) has nothing to tell, so these
// do nothing there.
void setReaderName(QWidget* widget, const QString& name);
void setReaderDescription(QWidget* widget, const QString& description);
