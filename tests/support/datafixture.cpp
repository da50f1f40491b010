#include "support/datafixture.h"

#include "support/pgtestdatabase.h"
#include "support/tempdata.h"

const std::vector<DataBackend>& DataBackends()
{
    static const std::vector<DataBackend> backends = {
        {"sqlite",
         []() -> std::unique_ptr<TestDatabase> { return std::make_unique<TempDataFile>(); }},
        {"postgres",
         []() -> std::unique_ptr<TestDatabase> { return std::make_unique<PgTestDatabase>(); }},
    };
    return backends;
}
