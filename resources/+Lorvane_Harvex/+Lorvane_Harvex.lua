-- Lorvane Harvex records what the player meets into rvData. The Lorvane Client uploads the saved
-- variables while rvUploaded is 0 and sets it to 1; the next new record sets it back to 0.

local ADDON_NAME = ...
local VERSION = "2.7.1"
local SECTIONS = { "npcs", "items", "quests" }

local function initialise()
    if type(rvData) ~= "table" or rvUploaded == 1 then
        -- Uploaded already: start afresh rather than send the same records again.
        rvData = {}
    end
    for _, section in ipairs(SECTIONS) do
        rvData[section] = rvData[section] or {}
    end
    if rvUploaded == nil then
        rvUploaded = 1
    end
    -- The client names the realm for its upload only; a stale line goes with the next save.
    rvRealm = nil
    rvAddonVersion = VERSION
end

local function playerPosition()
    local mapID = C_Map.GetBestMapForUnit("player")
    local position = mapID and C_Map.GetPlayerMapPosition(mapID, "player")
    if not position then
        return nil, nil
    end
    local x, y = position:GetXY()
    return math.floor(x * 10000 + 0.5) / 100, math.floor(y * 10000 + 0.5) / 100
end

-- "Creature-0-1234-0-56-2345-0000ABCDEF": the sixth field is the creature's id.
local function creatureID(guid)
    if not guid then
        return nil
    end
    local kind, _, _, _, _, id = strsplit("-", guid)
    if kind == "Creature" or kind == "Vehicle" then
        return tonumber(id)
    end
    return nil
end

local function record(section, id, fields)
    local entry = rvData[section][id]
    if not entry then
        entry = {}
        rvData[section][id] = entry
    end
    for key, value in pairs(fields) do
        entry[key] = value
    end
    rvUploaded = 0
end

local function recordUnit(unit)
    if not UnitExists(unit) or UnitPlayerControlled(unit) then
        return
    end
    local id = creatureID(UnitGUID(unit))
    if not id then
        return
    end
    local x, y = playerPosition()
    record("npcs", id, {
        name = UnitName(unit),
        level = UnitLevel(unit),
        health = UnitHealthMax(unit),
        zone = GetZoneText(),
        x = x,
        y = y,
    })
end

local function recordLoot(message)
    local link = message and message:match("|Hitem:%d+[^|]*|h%[.-%]|h")
    local id = link and tonumber(link:match("^|Hitem:(%d+)"))
    if not id then
        return
    end
    local name, _, quality, level, _, _, _, _, _, _, sell = GetItemInfo(id)
    local seen = rvData.items[id] and rvData.items[id].seen or 0
    record("items", id, { name = name, quality = quality, level = level, sell = sell, seen = seen + 1 })
end

local function recordQuest()
    local id = GetQuestID()
    if not id or id == 0 then
        return
    end
    local x, y = playerPosition()
    record("quests", id, {
        title = GetTitleText(),
        giver = creatureID(UnitGUID("npc")),
        zone = GetZoneText(),
        x = x,
        y = y,
    })
end

local frame = CreateFrame("Frame")
frame:RegisterEvent("ADDON_LOADED")
frame:SetScript("OnEvent", function(self, event, ...)
    if event == "ADDON_LOADED" then
        if ... == ADDON_NAME then
            initialise()
            self:UnregisterEvent("ADDON_LOADED")
            self:RegisterEvent("PLAYER_TARGET_CHANGED")
            self:RegisterEvent("UPDATE_MOUSEOVER_UNIT")
            self:RegisterEvent("CHAT_MSG_LOOT")
            self:RegisterEvent("QUEST_DETAIL")
        end
    elseif event == "PLAYER_TARGET_CHANGED" then
        recordUnit("target")
    elseif event == "UPDATE_MOUSEOVER_UNIT" then
        recordUnit("mouseover")
    elseif event == "CHAT_MSG_LOOT" then
        recordLoot(...)
    elseif event == "QUEST_DETAIL" then
        recordQuest()
    end
end)
