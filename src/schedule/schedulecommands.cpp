#include "schedule/schedulecommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/appointcommands.h"
#include "schedule/cataloguecommands.h"
#include "schedule/lookupcommands.h"
#include "schedule/notecommands.h"
#include "schedule/remindercommands.h"
#include "schedule/reminderlist.h"
#include "schedule/schedulerecords.h"
#include "views/featurecontext.h"

void RegisterScheduleCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    RegisterScheduleCategories(doc);
    context.commands.SetHandler(ID_QUERY_NOTICE, [&doc] { ShowReminderList(doc); });
    RegisterCatalogueCommands(context);
    RegisterNoteCommands(context);
    RegisterReminderCommands(context);
    RegisterAppointCommands(context);
    RegisterLookupCommands(context);
}
