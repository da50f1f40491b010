#include "schedule/schedulecommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/lookupcommands.h"
#include "schedule/reminderlist.h"
#include "views/featurecontext.h"

void RegisterScheduleCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    context.commands.SetHandler(ID_QUERY_NOTICE, [&doc] { ShowReminderList(doc); });
    RegisterLookupCommands(context);
}
