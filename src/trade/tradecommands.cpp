#include "trade/tradecommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "trade/detailcommands.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/tradetwin.h"
#include "views/vantreldoc.h"

void RegisterTradeCommands(const CFeatureContext& context)
{
    RegisterDetailCommands(context);
}
