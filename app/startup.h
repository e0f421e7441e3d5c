#pragma once

class QApplication;

// Qt's own dialogs and buttons in Chinese.
void installChineseTranslations(QApplication &app);
