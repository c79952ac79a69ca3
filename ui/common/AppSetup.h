#pragma once
// What every start of the windows sets up before the first window: the
// Russian locale for dates and numbers, Qt's own texts in Russian, and the
// application's title.
class QTranslator;

namespace veskaron::ui {

// `qtTexts` must live as long as the application.
void SetUpRussianApplication(QTranslator& qtTexts);

}  // namespace veskaron::ui
