-- Run by ardour-session.sh in ardour7-lua: a headless session on the dummy backend with the
-- plug-in on a track behind a sine generator. Prints "result <name> <value>" lines.
local folder = os.getenv("ZEMBRAC_SESSION")
local deadline_us = 20000000

AudioEngine:set_backend("None (Dummy)", "", "")
assert(create_session(folder, "zembrac", 48000), "no session")
local tracks = Session:new_audio_track(2, 2, nil, 1, "Zembrac", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
local track
for t in tracks:iter() do track = t end

local sine = ARDOUR.LuaAPI.new_luaproc(Session, "SinGen")
assert(not sine:isnil(), "no sine generator")
ARDOUR.LuaAPI.set_processor_param(sine, 1, -18.0)
track:add_processor_by_index(sine, 0, nil, true)

local plugin = ARDOUR.LuaAPI.new_plugin(Session, "Zembrac", ARDOUR.PluginType.LXVST, "")
assert(not plugin:isnil(), "Ardour did not find the plug-in")
track:add_processor_by_index(plugin, 1, nil, true)
-- Parameters by their normalized values: LookAhead 0.5, Output 0.75.
ARDOUR.LuaAPI.set_processor_param(plugin, 12, 0.5)
ARDOUR.LuaAPI.set_processor_param(plugin, 5, 0.75)
print("result latency " .. plugin:signal_latency())

-- The meter after the plug-in settles once the generator's level has ramped in.
local meter = track:peak_meter()
local last, level, waited = -1000, -1000, 0
while waited < deadline_us do
  ARDOUR.LuaAPI.usleep(100000)
  waited = waited + 100000
  level = meter:meter_level(0, ARDOUR.MeterType.MeterPeak)
  if level > -60 and math.abs(level - last) < 0.01 then break end
  last = level
end
print("result level " .. string.format("%.3f", level))
close_session()
