// The main window's live status: the answer to the status poll shown in the group
// "Stan TC-8".
#include "ui/TMain.h"

#include "operations/StatusRendering.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"

void TMain::StatusReceived(const StatusTexts& status) {
    Ruac->setText(status.Ruac);
    Temp->setText(status.Temp);
    Udc->SetColor(status.SupplyOk ? Colors::Lime : Colors::Red);
    RUwe->setText(status.RUwe);
    Udc->setText(status.Udc);
    Temp2->setText(status.Temp2);
    Data->setText(status.Data);
    czas->setText(status.czas);
}
