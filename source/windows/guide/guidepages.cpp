// The guide's pages in English and Portuguese (Windows-1252 text), with the player's name and
// the names of the keys bound when the guide opened.
#include <string>

#include "config.h"
#include "core.h"
#include "font.h"
#include "keynames.h"
#include "windows/guide/help.h"

namespace {

const std::string grey = MakeColorCode(224, 224, 224, 224);
const std::string white = MakeColorCode(255, 255, 255, 255);
const std::string green = MakeColorCode(128, 245, 128, 192);
const std::string yellow = MakeColorCode(224, 224, 112, 224);
const std::string red = MakeColorCode(255, 128, 128, 192);
const std::string blue = MakeColorCode(128, 128, 255, 192);
const std::string opaqueBlue = MakeColorCode(128, 128, 255, 255);
const std::string orange = MakeColorCode(255, 128, 32, 192);

}  // namespace

void Help::BuildEnglishGuide() {
    BeginLanguage("English");
    const std::string name = PlayerName();
    AddPage("1. Welcome", std::string("Welcome, ") + name +
                              "!\n"
                              "\n" +
                              grey +
                              "This guide explains how to play Veltor.\n"
                              "Choose a page from the list on the left.\n"
                              "You can open the guide at any time with\n" +
                              green + "Ctrl+" + KeyName(KeyHelp) +
                              "\n"
                              "\n" +
                              white + "HELP" + grey +
                              "\n"
                              "Do you have a question about the\n"
                              "controls, the gameplay or a technical\n"
                              "problem? Other players and our staff\n"
                              "answer in the help channel of the chat.\n"
                              "Press the button below to join it.\n"
                              "\n"
                              "\n"
                              "\n" +
                              white + "WIKI" + grey +
                              "\n"
                              "Creatures, items, quests and much more\n"
                              "are described in the Veltor wiki.\n"
                              "\n"
                              "\n"
                              "\n"
                              "\n" +
                              white + "BUGS" + grey +
                              "\n"
                              "Report bugs and problems on Discord.\n"
                              "\n"
                              "\n");
    AddPage("2. Basic Movement",
            std::string("Walk with these keys, or click with the\n") + green + "left mouse button" +
                grey +
                " on the ground.\n"
                "The four directions:\n" +
                KeyPairs(KeyNorth, KeyWest, KeySouth, KeyEast) +
                "\n"
                "The diagonals:\n" +
                KeyPairs(KeyNorthWest, KeyNorthEast, KeySouthWest, KeySouthEast) +
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "Hold " +
                green + "Ctrl" + grey +
                " and press a direction key to\n"
                "turn without taking a step. Keep a key\n"
                "pressed to walk on. Walking is slower on\n"
                "rough ground and faster on roads.\n"
                "\n" +
                white + "FLOORS" + grey +
                "\n"
                "Use ladders, stairs and holes to go up\n"
                "or down: step on them, or use a ladder\n"
                "with the " +
                green + "right mouse button" + grey + ".\n");
    AddPage(
        "3. Actions",
        white + "LOOK, USE AND ATTACK" + grey +
            "\n"
            "Click a thing with the " +
            green + "right mouse button" + grey +
            " to use it: open doors and containers, climb ladders, eat food. " + green + "Shift" +
            grey + " and the " + green + "left mouse button" + grey +
            " look at a thing and tell you what it is.\n"
            "\n"
            "Click a creature with the " +
            green + "right mouse button" + grey +
            " to attack it; click it again to stop. The creature you attack is framed in red.\n"
            "\n"
            "Some items are used on something else, such as a key on a door or a rope on a hole: use the item, then click the target.\n");
    AddPage(
        "4. Looting and Moving Items",
        white + "LOOTING" + grey +
            "\n"
            "A defeated creature leaves a body. Open it with the " +
            green + "right mouse button" + grey +
            " and drag what you want into your backpack.\n"
            "\n" +
            white + "MOVING ITEMS" + grey +
            "\n"
            "Drag an item with the " +
            green + "left mouse button" + grey +
            " to move it: onto the field, into a container or onto your equipment. When you move part of a stack, you are asked how many to move; hold " +
            green + "Ctrl" + grey +
            " to move the whole stack at once.\n"
            "\n"
            "You can only carry as much as your capacity allows.\n");
    AddPage(
        "5. Chat",
        white + "TALKING" + grey +
            "\n"
            "Type your text and press " +
            green + "Enter" + grey +
            " to say it. Everyone near you reads what you say in the default channel.\n"
            "\n"
            "Press " +
            green + "Ctrl+" + KeyName(KeyMode) + grey +
            " to switch between chat mode and walking mode. In walking mode the keys move your character; in chat mode they type.\n"
            "\n"
            "To talk to a merchant, say " +
            yellow + "hi" + grey + ", then for example " + yellow + "trade" + grey + ". Say " +
            yellow + "bye" + grey + " when you are done.\n");
    AddPage(
        "6. Chat Channels and PM",
        white + "CHANNELS" + grey +
            "\n"
            "Besides the default chat you can talk\n"
            "in channels such as World, Trade and\n"
            "Help. To join one, click the channel\n"
            "button at the top of the chat box:\n"
            "\n"
            "\n"
            "and pick a channel from the list.\n"
            "\n" +
            white + "PRIVATE MESSAGES" + grey +
            "\n"
            "Type " +
            yellow + "#" + grey +
            " followed by a name and a space, then your text, to write to one player only, such as " +
            yellow + "#Anna hello" + grey + ". A tab opens for the conversation.\n");
    AddPage(
        "7. Hotkeys",
        white + "HOTKEYS" + grey +
            "\n"
            "The keys " +
            green + "F1" + grey + " to " + green + "F12" + grey +
            " cast abilities or use items. Drag an ability from your abilities book, or an item, onto the ability bar to bind it.\n"
            "\n"
            "A hotkey that uses an item shows how many of it you carry. Healing potions on a hotkey save your life in a hard fight.\n");
    AddPage("8. Customise Controls",
            white + "CONTROLS" + grey +
                "\n"
                "Every key of the game can be changed. Open the " +
                green + "Settings" + grey + " and choose " + green + "Controls" + grey +
                ": there you find the movement keys, the hotkeys and the functions used with " +
                green + "Ctrl" + grey +
                ".\n"
                "\n"
                "Click a key field and press the key you want. " +
                green + "default" + grey + " restores the keys of a page.\n");
    AddPage(
        "9. Character and Equipment",
        white + "CHARACTER" + grey +
            "\n"
            "The character window shows your level, your attributes and your skills. Open it from the status panel.\n"
            "\n" +
            white + "EQUIPMENT" + grey +
            "\n"
            "Drag weapons, armour and rings onto the slots of your equipment to wear them. Your " +
            red + "health" + grey + " and " + blue + "mana" + grey +
            " are shown above the equipment.\n");
    AddPage(
        "10. NPCs",
        white + "NPCS" + grey +
            "\n"
            "The people of Veltor sell, buy, teach and give quests. Walk up to one and say " +
            yellow + "hi" + grey +
            " to start a conversation. Words in their answers are hints of what you can ask about, such as " +
            yellow + "quest" + grey + " or " + yellow + "trade" + grey +
            ".\n"
            "\n"
            "Your conversations with NPCs appear in the NPC channel.\n");
    AddPage(
        "11. Trading",
        white + "TRADING WITH PLAYERS" + grey +
            "\n"
            "Press " +
            green + "Ctrl+" + KeyName(KeyTrade) + grey +
            " and click a player to offer a trade, or use the trade entry of the player's menu. Drag the items you offer into the trade window. When both offers are right, both players accept.\n"
            "\n" +
            white + "MERCHANTS" + grey +
            "\n"
            "Say " +
            yellow + "trade" + grey + " to a merchant to see what they buy and sell.\n");
    AddPage(
        "12. Bank and Storage",
        white + "BANK" + grey +
            "\n"
            "Bankers keep your gold and your items safe. Say " +
            yellow + "hi" + grey + " and " + yellow + "bank" + grey +
            " to a banker to open your bank: deposit gold, store items in its slots and take them out again in any town.\n"
            "\n"
            "Letters and parcels sent to you arrive in the mailbox of the bank.\n");
    AddPage("13. Attributes",
            white + "ATTRIBUTES" + grey +
                "\n"
                "Each level gives you attribute points. Spend them in the character window:\n" +
                red + "Vitality" + grey + " raises your health,\n" + blue + "Intelligence" + grey +
                " raises your mana,\n"
                "Strength, Dexterity and Wisdom make your attacks and abilities stronger.\n"
                "\n"
                "Choose the attributes your class needs.\n");
    AddPage("14. Skills",
            white + "SKILLS" + grey +
                "\n"
                "Skills grow as you use them.\n"
                "\n" +
                red + "PHYSICAL COMBAT" + grey +
                "\n"
                "Sword, axe, club and distance fighting improve with every hit of that weapon.\n"
                "\n" +
                opaqueBlue + "MAGICAL COMBAT" + grey +
                "\n"
                "Magic level grows with the " +
                opaqueBlue + "mana" + grey +
                " you spend on abilities.\n"
                "\n"
                "The character window shows how far each skill is from its next level.\n");
    AddPage(
        "15. Classes",
        white + "CLASSES" + grey +
            "\n"
            "Every character starts without a class. Reach the level a class trainer asks for and talk to them to choose your first class. Each class has its own abilities and its own way to fight.\n");
    AddPage(
        "16. Classes: Tier 2",
        white + "TIER 2" + grey +
            "\n"
            "With more experience your class can be advanced. The trainers of the second tier teach stronger abilities; ask them " +
            yellow + "advance" + grey + " when you are ready.\n");
    AddPage(
        "17. Classes: Tier 3 (Physical)",
        red + "PHYSICAL CLASSES" + grey +
            "\n"
            "The third tier of the physical classes masters close combat and distance weapons. They have much " +
            red + "health" + grey + " and little " + blue + "mana" + grey + ".\n");
    AddPage("18. Classes: Tier 3 (Hybrid)",
            white + "HYBRID CLASSES" + grey +
                "\n"
                "Hybrid classes fight with weapons and abilities alike, with a balance of " +
                red + "health" + grey + " and " + blue + "mana" + grey + ".\n");
    AddPage("19. Classes: Tier 3 (Magical)",
            opaqueBlue + "MAGICAL CLASSES" + grey +
                "\n"
                "The magical classes cast powerful abilities from afar. They have much " +
                opaqueBlue + "mana" + grey + " and need to keep away from their enemies.\n");
    AddPage(
        "20. Party",
        white + "PARTY" + grey +
            "\n"
            "Hunt together and share experience. Press " +
            green + "Ctrl+" + KeyName(KeyInvite) + grey +
            " and click a player to invite them to your party. Party members have their own chat channel.\n");
    AddPage(
        "21. Death",
        white + "DEATH" + grey +
            "\n"
            "When your " +
            red + "health" + grey +
            " reaches 0 you die and wake up in the temple. You lose some experience and may lose items you carried. Be careful in unknown places.\n");
    AddPage(
        "22. PVP Arena",
        white + "ARENA" + grey +
            "\n"
            "Fight other players in the arena without losing anything. Talk to the arena master to enter.\n");
    AddPage(
        "23. Housing",
        white + "HOUSES" + grey +
            "\n"
            "Houses are rented through auctions. Ask an auctioneer about the houses that are free, bid on one, and pay its rent in time. Invite friends to let them in.\n");
    AddPage("24. Rules", white + "RULES" + grey +
                             "\n"
                             "Playing Veltor means accepting its rules:\n" +
                             orange + "a." + grey + " Be respectful to other players.\n" + orange +
                             "b." + grey + " Do not cheat or abuse bugs.\n" + orange + "c." + grey +
                             " Do not trade characters or items for real money.\n"
                             "Breaking them can get your account banned.\n");
    AddPage("25. Rules: Names", white + "NAMES" + grey + "\n" + orange + "a." + grey +
                                    " No offensive or insulting names.\n" + orange + "b." + grey +
                                    " No names of real persons.\n" + orange + "c." + grey +
                                    " No names that pretend to be staff.\n");
    AddPage("26. Rules: Cheating", white + "CHEATING" + grey + "\n" + orange + "a." + grey +
                                       " No programs that play for you.\n" + orange + "b." + grey +
                                       " No changed game files or clients.\n" + orange + "c." +
                                       grey + " Report bugs instead of using them.\n");
    AddPage("27. Rules: Behaviour", white + "BEHAVIOUR" + grey + "\n" + orange + "a." + grey +
                                        " No insults, threats or harassment.\n" + orange + "b." +
                                        grey + " No spam in the chat channels.\n" + orange + "c." +
                                        grey + " Follow the instructions of the staff.\n");
    AddPage(
        "28. Noble Account",
        white + "NOBLE ACCOUNT" + grey +
            "\n"
            "A noble account supports Veltor and gives you extra comfort in the game. Buy noble days in the store of the status panel.\n");
}

void Help::BuildPortugueseGuide() {
    BeginLanguage("Portuguese");
    const std::string name = PlayerName();
    AddPage("1. Bem-vindo", std::string("Bem-vindo, ") + name +
                                "!\n"
                                "\n" +
                                grey +
                                "Este guia explica como jogar Veltor.\n"
                                "Escolha uma p\xE1gina na lista \xE0 esquerda.\n"
                                "Voc\xEA pode abrir o guia a qualquer hora\n"
                                "com" +
                                green + " Ctrl + " + KeyName(KeyHelp) +
                                "\n"
                                "\n" +
                                white + "HELP" + grey +
                                "\n"
                                "Tem alguma d\xFAvida sobre os controles,\n"
                                "o jogo ou um problema t\xE9"
                                "cnico? Outros\n"
                                "jogadores e a equipe respondem no canal\n"
                                "de ajuda do chat (somente em ingl\xEAs).\n"
                                "Clique no bot\xE3o abaixo para entrar.\n"
                                "\n"
                                "\n"
                                "\n" +
                                white + "WIKI" + grey +
                                "\n"
                                "Criaturas, itens, quests e muito mais\n"
                                "est\xE3o descritos na wiki de Veltor.\n"
                                "\n"
                                "\n"
                                "\n"
                                "\n" +
                                white + "BUGS" + grey +
                                "\n"
                                "Informe bugs e problemas no Discord.\n"
                                "\n"
                                "\n");
    AddPage("2. Movimento B\xE1sico",
            std::string("Ande com as teclas abaixo, ou clique com\n"
                        "o ") +
                green + "bot\xE3o esquerdo do mouse" + grey +
                " no lugar\n"
                "para onde quer ir. Os movimentos podem\n"
                "ser feitos com as seguintes teclas.\n"
                "As quatro dire\xE7\xF5"
                "es:\n" +
                KeyPairs(KeyNorth, KeyWest, KeySouth, KeyEast) +
                "\n"
                "As diagonais:\n" +
                KeyPairs(KeyNorthWest, KeyNorthEast, KeySouthWest, KeySouthEast) +
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "\n"
                "Segure " +
                green + "Ctrl" + grey +
                " e aperte uma dire\xE7\xE3o para\n"
                "virar sem dar um passo. Mantenha a tecla\n"
                "pressionada para continuar andando.\n"
                "\n" +
                white + "ANDARES" + grey +
                "\n"
                "Use escadas e buracos para subir ou\n"
                "descer: pise neles, ou use uma escada\n"
                "com o " +
                green + "bot\xE3o direito do mouse" + grey + ".\n");
    AddPage(
        "3. A\xE7\xF5"
        "es",
        white + "OLHAR, USAR E ATACAR" + grey +
            "\n"
            "Clique em algo com o " +
            green + "bot\xE3o direito do mouse" + grey +
            " para usar: abrir portas e recipientes, subir escadas, comer. " + green + "Shift" +
            grey + " e o " + green + "bot\xE3o esquerdo do mouse" + grey +
            " olham para algo e dizem o que \xE9.\n"
            "\n"
            "Clique em uma criatura com o " +
            green + "bot\xE3o direito do mouse" + grey +
            " para atac\xE1-la; clique de novo para parar. A criatura atacada fica marcada em vermelho.\n"
            "\n"
            "Alguns itens s\xE3o usados em outra coisa, como uma chave em uma porta: use o item e depois clique no alvo.\n");
    AddPage(
        "4. Looting e Movendo Itens",
        white + "LOOTING" + grey +
            "\n"
            "Uma criatura derrotada deixa um corpo. Abra-o com o " +
            green + "bot\xE3o direito do mouse" + grey +
            " e arraste o que quiser para a sua mochila.\n"
            "\n" +
            white + "MOVENDO ITENS" + grey +
            "\n"
            "Arraste um item com o " +
            green + "bot\xE3o esquerdo do mouse" + grey +
            " para mov\xEA-lo: para o ch\xE3o, para um recipiente ou para o seu equipamento. Ao mover parte de uma pilha, o jogo pergunta quantos mover; segure " +
            green + "Ctrl" + grey +
            " para mover a pilha inteira.\n"
            "\n"
            "Voc\xEA s\xF3 pode carregar o que a sua capacidade permite.\n");
    AddPage(
        "5. Chat",
        white + "CONVERSANDO" + grey +
            "\n"
            "Digite o seu texto e aperte " +
            green + "Enter" + grey +
            " para falar. Todos perto de voc\xEA leem o que voc\xEA diz no canal padr\xE3o.\n"
            "\n"
            "Aperte " +
            green + "Ctrl+" + KeyName(KeyMode) + grey +
            " para alternar entre o modo de chat e o modo de andar. No modo de andar as teclas movem o personagem; no modo de chat elas digitam.\n"
            "\n"
            "Para falar com um comerciante, diga " +
            yellow + "hi" + grey + " e depois, por exemplo, " + yellow + "trade" + grey +
            ". Diga " + yellow + "bye" + grey + " ao terminar.\n");
    AddPage(
        "6. Canais de Chat e PM",
        white + "CANAIS" + grey +
            "\n"
            "Al\xE9m do chat padr\xE3o, voc\xEA pode falar\n"
            "em canais como World, Trade e Help.\n"
            "Para entrar em um, clique no bot\xE3o de\n"
            "canais no topo da caixa de chat:\n"
            "\n"
            "\n"
            "e escolha um canal da lista.\n"
            "\n" +
            white + "MENSAGENS PRIVADAS" + grey +
            "\n"
            "Digite " +
            yellow + "#" + grey +
            " seguido de um nome e um espa\xE7o, e depois o texto, para escrever a um s\xF3 jogador, como " +
            yellow + "#Anna ol\xE1" + grey + ". Uma aba se abre para a conversa.\n");
    AddPage(
        "7. Teclas de Atalho",
        white + "TECLAS DE ATALHO" + grey +
            "\n"
            "As teclas " +
            green + "F1" + grey + " a " + green + "F12" + grey +
            " usam habilidades ou itens. Arraste uma habilidade do seu livro de habilidades, ou um item, para a barra de habilidades.\n"
            "\n"
            "Um atalho que usa um item mostra quantos voc\xEA carrega. Po\xE7\xF5"
            "es de cura em um atalho salvam a sua vida em uma luta dif\xED"
            "cil.\n");
    AddPage("8. Personalizar controles",
            white + "CONTROLES" + grey +
                "\n"
                "Todas as teclas do jogo podem ser mudadas. Abra as " +
                green +
                "Configura\xE7\xF5"
                "es" +
                grey + " e escolha " + green + "Controles" + grey +
                ": l\xE1 est\xE3o as teclas de movimento, os atalhos e as fun\xE7\xF5"
                "es usadas com " +
                green + "Ctrl" + grey +
                ".\n"
                "\n"
                "Clique em um campo e aperte a tecla desejada. " +
                green + "default" + grey + " restaura as teclas de uma p\xE1gina.\n");
    AddPage(
        "9. Personagem e Equipamento",
        white + "PERSONAGEM" + grey +
            "\n"
            "A janela do personagem mostra o seu n\xEDvel, os seus atributos e as suas habilidades. Abra-a no painel de status.\n"
            "\n" +
            white + "EQUIPAMENTO" + grey +
            "\n"
            "Arraste armas, armaduras e an\xE9is para os espa\xE7os do equipamento para us\xE1-los. A sua " +
            red + "vida" + grey + " e a sua " + blue + "mana" + grey +
            " aparecem acima do equipamento.\n");
    AddPage(
        "10. NPCs",
        white + "NPCS" + grey +
            "\n"
            "Os habitantes de Veltor vendem, compram, ensinam e d\xE3o quests. Aproxime-se e diga " +
            yellow + "hi" + grey +
            " para come\xE7"
            "ar uma conversa. Palavras nas respostas indicam o que voc\xEA pode perguntar, como " +
            yellow + "quest" + grey + " ou " + yellow + "trade" + grey +
            ".\n"
            "\n"
            "As conversas com NPCs aparecem no canal NPC.\n");
    AddPage(
        "11. Negocia\xE7\xE3o",
        white + "NEGOCIANDO COM JOGADORES" + grey +
            "\n"
            "Aperte " +
            green + "Ctrl +" + KeyName(KeyTrade) + grey +
            " e clique em um jogador para propor uma troca, ou use o menu do jogador. Arraste os itens que oferece para a janela de troca. Quando as duas ofertas estiverem certas, os dois aceitam.\n"
            "\n" +
            white + "COMERCIANTES" + grey +
            "\n"
            "Diga " +
            yellow + "trade" + grey + " a um comerciante para ver o que ele compra e vende.\n");
    AddPage(
        "12. Banco e Armazenamento",
        white + "BANCO" + grey +
            "\n"
            "Os banqueiros guardam o seu ouro e os seus itens. Diga " +
            yellow + "hi" + grey + " e " + yellow + "bank" + grey +
            " a um banqueiro para abrir o seu banco: deposite ouro, guarde itens e retire-os em qualquer cidade.\n"
            "\n"
            "Cartas e pacotes enviados a voc\xEA chegam \xE0 caixa de correio do banco.\n");
    AddPage("13. Atributos",
            white + "ATRIBUTOS" + grey +
                "\n"
                "Cada n\xEDvel d\xE1 pontos de atributo. Gaste-os na janela do personagem:\n" +
                red + "Vitalidade" + grey + " aumenta a sua vida,\n" + blue + "Intelig\xEAncia" +
                grey +
                " aumenta a sua mana,\n"
                "For\xE7"
                "a, Destreza e Sabedoria tornam ataques e habilidades mais fortes.\n"
                "\n"
                "Escolha os atributos de que a sua classe precisa.\n");
    AddPage("14. Habilidades",
            white + "HABILIDADES" + grey +
                "\n"
                "As habilidades crescem com o uso.\n"
                "\n" +
                red + "COMBATE F\xCDSICO" + grey +
                "\n"
                "Espada, machado, clava e dist\xE2ncia melhoram a cada golpe com essa arma.\n"
                "\n" +
                opaqueBlue + "COMBATE M\xC1GICO" + grey +
                "\n"
                "O n\xEDvel m\xE1gico cresce com a " +
                opaqueBlue + "mana" + grey +
                " gasta em habilidades.\n"
                "\n"
                "A janela do personagem mostra quanto falta para o pr\xF3ximo n\xEDvel.\n");
    AddPage(
        "15. Classes",
        white + "CLASSES" + grey +
            "\n"
            "Todo personagem come\xE7"
            "a sem classe. Alcance o n\xEDvel pedido por um treinador de classe e fale com ele para escolher a sua primeira classe. Cada classe tem as suas habilidades e o seu jeito de lutar.\n");
    AddPage("16. Classes: Tier 2",
            white + "TIER 2" + grey +
                "\n"
                "Com mais experi\xEAncia a sua classe pode avan\xE7"
                "ar. Os treinadores do segundo tier ensinam habilidades mais fortes; pergunte " +
                yellow + "advance" + grey + " quando estiver pronto.\n");
    AddPage(
        "17. Classes: Tier 3 (F\xEDsica)",
        red + "CLASSES F\xCDSICAS" + grey +
            "\n"
            "O terceiro tier das classes f\xEDsicas domina o combate corpo a corpo e \xE0 dist\xE2ncia. Elas t\xEAm muita " +
            red + "vida" + grey + " e pouca " + blue + "mana" + grey + ".\n");
    AddPage("18. Classes: Tier 3 (Hybrid)",
            white +
                "CLASSES H\xCD"
                "BRIDAS" +
                grey +
                "\n"
                "As classes h\xED"
                "bridas lutam com armas e habilidades, com equil\xED"
                "brio entre " +
                red + "vida" + grey + " e " + blue + "mana" + grey + ".\n");
    AddPage("19. Classes: Tier 3 (M\xE1gico)",
            opaqueBlue + "CLASSES M\xC1GICAS" + grey +
                "\n"
                "As classes m\xE1gicas lan\xE7"
                "am habilidades poderosas de longe. Elas t\xEAm muita " +
                opaqueBlue + "mana" + grey + " e precisam ficar longe dos inimigos.\n");
    AddPage(
        "20. Party",
        white + "PARTY" + grey +
            "\n"
            "Cacem juntos e dividam a experi\xEAncia. Aperte " +
            green + "Ctrl+" + KeyName(KeyInvite) + grey +
            " e clique em um jogador para convid\xE1-lo. Os membros da party t\xEAm um canal pr\xF3prio.\n");
    AddPage(
        "21. Morte",
        white + "MORTE" + grey +
            "\n"
            "Quando a sua " +
            red + "vida" + grey +
            " chega a 0, voc\xEA morre e acorda no templo. Voc\xEA perde experi\xEAncia e pode perder itens. Tenha cuidado em lugares desconhecidos.\n");
    AddPage(
        "22. Arena PVP",
        white + "ARENA" + grey +
            "\n"
            "Lute contra outros jogadores na arena sem perder nada. Fale com o mestre da arena para entrar.\n");
    AddPage(
        "23. Casa",
        white + "CASAS" + grey +
            "\n"
            "Casas s\xE3o alugadas em leil\xF5"
            "es. Pergunte a um leiloeiro pelas casas livres, d\xEA um lance e pague o aluguel em dia. Convide amigos para deix\xE1-los entrar.\n");
    AddPage("24. Regras", white + "REGRAS" + grey +
                              "\n"
                              "Jogar Veltor significa aceitar as suas regras:\n" +
                              orange + "a." + grey + " Respeite os outros jogadores.\n" + orange +
                              "b." + grey + " N\xE3o trapaceie nem abuse de bugs.\n" + orange +
                              "c." + grey +
                              " N\xE3o venda personagens ou itens por dinheiro real.\n"
                              "Quebr\xE1-las pode banir a sua conta.\n");
    AddPage("25. Regras: Nomes", white + "NOMES" + grey + "\n" + orange + "a." + grey +
                                     " Nada de nomes ofensivos.\n" + orange + "b." + grey +
                                     " Nada de nomes de pessoas reais.\n" + orange + "c." + grey +
                                     " Nada de nomes que imitam a equipe.\n");
    AddPage(
        "26. Regras: Trapa\xE7"
        "a",
        white +
            "TRAPA\xC7"
            "A" +
            grey + "\n" + orange + "a." + grey + " Nada de programas que jogam por voc\xEA.\n" +
            orange + "b." + grey + " Nada de arquivos ou clientes alterados.\n" + orange + "c." +
            grey + " Informe bugs em vez de us\xE1-los.\n");
    AddPage("27. Regras: Comportamento",
            white + "COMPORTAMENTO" + grey + "\n" + orange + "a." + grey +
                " Nada de insultos, amea\xE7"
                "as ou ass\xE9"
                "dio.\n" +
                orange + "b." + grey + " Nada de spam nos canais de chat.\n" + orange + "c." +
                grey +
                " Siga as instru\xE7\xF5"
                "es da equipe.\n");
    AddPage(
        "28. Noble Account",
        white + "NOBLE ACCOUNT" + grey +
            "\n"
            "Uma noble account apoia Veltor e traz mais conforto no jogo. Compre dias de noble na loja do painel de status.\n");
}

std::string Help::KeyName(uint32_t slot) const { return KeyNameText(core->keys[slot]); }

std::string Help::KeyPairs(uint32_t a, uint32_t b, uint32_t c, uint32_t d) const {
    return green + KeyName(a) + grey + ", " + green + KeyName(b) + grey + ",\n" + green +
           KeyName(c) + grey + ", " + green + KeyName(d) + grey;
}
