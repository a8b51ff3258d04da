-- Cube Coins: the default game script.
-- A title picture until the space bar is pressed, then the world with the
-- player. Coins (script object type 0) spin and count into the global
-- variable "coins" when the player comes near; lanterns (type 1) glow on
-- their posts. Keys of the script: 1 walk, 2 drive, 3 fly, k save, l load,
-- b build (arrows and Page Up/Down move the corner, space builds), h help.
-- The script's standard library is the engine's own: no string, table or
-- math functions, no tostring.

local titleSprite, coinIcon
local coinModel, lanternModel, coinSound
local isTitleShown = true
local isHelpShown = true
local previousKeys = {}
local message, messageUntil = "", 0
local saveFileName = "quicksave.sav"
-- The cube type that in-game building uses (brick in the default world).
local buildCubeType = 2

-- True on the frame a key goes down.
local function pressed(key)
  local isDown = getKey(key) == 1
  local wasDown = previousKeys[key]
  previousKeys[key] = isDown
  return isDown and not wasDown
end

local function say(text)
  message = text
  messageUntil = getTime() + 2500
end

local function minimum(a, b) if a < b then return a end return b end
local function maximum(a, b) if a > b then return a end return b end

function lua_getNbObjects()
  return 2
end

function lua_onInitGame()
  titleSprite = load2DSprite("sprites/title.png")
  coinIcon = load2DSprite("sprites/coin_icon.png")
  coinSound = loadSound("sound/coin.wav")
  setFogColor(170, 200, 235)
  setWaterEnable(1)
  setCameraAngleAndDistance(-15, 0, 35)
  print("Cube Coins ready")
end

function lua_onUninitGame()
  unload2DSprite(titleSprite)
  unload2DSprite(coinIcon)
end

-- Coins: loaded with the first coin in view, freed with the last.
function lua_load_0()
  coinModel = load3DModel("models/coin.obj")
end

function lua_manage_0()
  -- Local variable 1 is 1 once the coin is taken.
  if getObjectLocalVariable1() == 0 and getDistanceToPlayer() < 12 then
    setObjectLocalVariable1(1)
    addToGlobalVar("coins", 1)
    playSound(coinSound)
    say("A coin!")
  end
end

function lua_draw_0()
  if getObjectLocalVariable1() == 0 then
    rotatePosition(0, getTime() * 0.18, 0)
    draw3DModel(coinModel)
  end
end

function lua_unload_0()
  unload3DModel(coinModel)
end

-- Lanterns: a post with a flickering light (two frames), swaying a little.
function lua_load_1()
  lanternModel = load3DModelAnimated(150, "models/lantern_frame1.obj", "models/lantern_frame2.obj")
  setModelAnimationSpeed(lanternModel, 700)
end

function lua_manage_1()
end

function lua_draw_1()
  local t = getTime() % 4000
  if t > 2000 then t = 4000 - t end
  rotatePosition(0, 0, (t - 1000) * 0.002)
  draw3DModel(lanternModel)
end

function lua_unload_1()
  unload3DModel(lanternModel)
end

local function handleKeys()
  if pressed("1") then setPlayerMovementWalk() say("Walking") end
  if pressed("2") then setPlayerMovementCar() say("Driving") end
  if pressed("3") then setPlayerMovementFly() say("Flying: space climbs, c descends") end
  if pressed("h") then isHelpShown = not isHelpShown end
  if pressed("k") then saveGame(saveFileName) say("Game saved") end
  if pressed("l") then loadGame(saveFileName) say("Game loaded") end
  if pressed("b") and isEditorMode() == 0 then
    local x, y, z = getPlayerPosition()
    startCubeCreation(x, y, z)
    say("Building: arrows and Page Up/Down move the corner, space builds")
  end
end

local function handleBuilding()
  local isDone, ax, ay, az, mx, my, mz = manageCubeCreation()
  if isDone == 1 then
    -- The box covers both corners' cubes.
    createCube(minimum(ax, mx), minimum(ay, my), minimum(az, mz),
               maximum(ax, mx) + 1, maximum(ay, my) + 1, maximum(az, mz) + 1, buildCubeType)
    say("Built")
  end
end

local function drawOverlay()
  local width, height = getWindowSize()
  setColor(255, 255, 255, 255)
  draw2DSprite(coinIcon, width - 120, 12)
  drawText("" .. getGlobalVar("coins"), width - 80, 16)
  local period = getPeriodDuration()
  if period > 0 then
    drawText((1000000 - 1000000 % period) / period .. " fps", 10, height - 30)
  end
  if isHelpShown then
    drawText("arrows/e/d/s/f move, space jump, 1 walk 2 drive 3 fly, o/p camera", 10, 10)
    drawText("b build, k save, l load, h help, a editor, Esc menu", 10, 34)
  end
  if getTime() < messageUntil then
    drawTextCenter(message)
  end
end

function lua_loop()
  if isTitleShown then
    drawSpriteFullscreenStretched(titleSprite)
    draw2DWorld()
    if pressed(" ") or pressed("\13") then
      isTitleShown = false
      say("Collect the coins!")
    end
    return
  end
  handleKeys()
  handleBuilding()
  clearBackground()
  draw3DWorld()
  draw2DWorld()
  if isEditorMode() == 0 then
    drawOverlay()
  end
end
